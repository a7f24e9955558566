#include "media/transcode/EncoderOptions.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <cerrno>

namespace media::transcode {

using namespace media::detail;

bool hasPrivateOption(const AVCodec& codec, const char* name) {
    // The codec's option class stands in for an encoder context not yet made.
    const AVClass* options = codec.priv_class;
    return options && av_opt_find2(&options, name, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ, nullptr) != nullptr;
}

EncoderOptions::~EncoderOptions() {
    av_dict_free(&m_options);
}

void EncoderOptions::set(const std::string& name, const std::string& value) {
    av_dict_set(&m_options, name.c_str(), value.c_str(), 0);
}

std::expected<void, Error> EncoderOptions::open(AVCodecContext* context, const AVCodec* codec,
                                                const std::string& what) {
    if (const int status = avcodec_open2(context, codec, &m_options); status < 0)
        return std::unexpected(makeError(status, "cannot start the " + what));
    // What the encoder took is gone from the dictionary; what is left it does not know.
    if (const AVDictionaryEntry* unknown = av_dict_get(m_options, "", nullptr, AV_DICT_IGNORE_SUFFIX))
        return std::unexpected(Error{EINVAL, "the " + what + " has no option \"" + unknown->key + "\""});
    return {};
}

} // namespace media::transcode
