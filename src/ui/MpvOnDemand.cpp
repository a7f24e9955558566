// libmpv, loaded the first time the movie view asks for a player. Linked at
// start-up it brings in some 230 libraries, FFmpeg's among them, for every
// run of the program, including the commands that never show a window. The
// functions the movie view calls are defined here with libmpv's own
// signatures and forward to the library's, so the view uses the plain client
// API. When libmpv cannot be loaded, mpv_create() answers null, as it does
// when libmpv itself cannot start, and the view shows nothing.

#include <mpv/client.h>
#include <mpv/render.h>

#include <dlfcn.h>

#include <cstdio>
#include <mutex>

// The library of the client API we were compiled against.
static_assert(MPV_CLIENT_API_VERSION >> 16 == 2, "libmpv.so.2 has client API 2");

namespace {

void* library()
{
    static void* handle = nullptr;
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        handle = dlopen("libmpv.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            std::fprintf(stderr, "joinclip: cannot load libmpv: %s\n", dlerror());
    });
    return handle;
}

// The library's own function of this name; only called once mpv_create() has
// answered a player, so the library is there.
template <class Function>
Function* resolve(const char* name)
{
    void* handle = library();
    return handle ? reinterpret_cast<Function*>(dlsym(handle, name)) : nullptr;
}

} // namespace

#define JOINCLIP_MPV_FORWARD(name, result, parameters, arguments)                  \
    extern "C" result name parameters                                              \
    {                                                                              \
        static auto* const function = resolve<result parameters>(#name);           \
        return function arguments;                                                 \
    }

extern "C" mpv_handle* mpv_create(void)
{
    static auto* const function = resolve<mpv_handle*()>("mpv_create");
    return function ? function() : nullptr;
}

JOINCLIP_MPV_FORWARD(mpv_initialize, int, (mpv_handle * ctx), (ctx))
JOINCLIP_MPV_FORWARD(mpv_terminate_destroy, void, (mpv_handle * ctx), (ctx))
JOINCLIP_MPV_FORWARD(mpv_set_option_string, int, (mpv_handle * ctx, const char* name, const char* data),
                     (ctx, name, data))
JOINCLIP_MPV_FORWARD(mpv_command_async, int, (mpv_handle * ctx, uint64_t reply, const char** args),
                     (ctx, reply, args))
JOINCLIP_MPV_FORWARD(mpv_command_ret, int, (mpv_handle * ctx, const char** args, mpv_node* result),
                     (ctx, args, result))
JOINCLIP_MPV_FORWARD(mpv_free_node_contents, void, (mpv_node * node), (node))
JOINCLIP_MPV_FORWARD(mpv_get_property, int, (mpv_handle * ctx, const char* name, mpv_format format, void* data),
                     (ctx, name, format, data))
JOINCLIP_MPV_FORWARD(mpv_set_property_async, int,
                     (mpv_handle * ctx, uint64_t reply, const char* name, mpv_format format, void* data),
                     (ctx, reply, name, format, data))
JOINCLIP_MPV_FORWARD(mpv_observe_property, int,
                     (mpv_handle * ctx, uint64_t reply, const char* name, mpv_format format),
                     (ctx, reply, name, format))
JOINCLIP_MPV_FORWARD(mpv_wait_event, mpv_event*, (mpv_handle * ctx, double timeout), (ctx, timeout))
JOINCLIP_MPV_FORWARD(mpv_set_wakeup_callback, void, (mpv_handle * ctx, void (*cb)(void*), void* d), (ctx, cb, d))
JOINCLIP_MPV_FORWARD(mpv_render_context_create, int,
                     (mpv_render_context * *res, mpv_handle* mpv, mpv_render_param* params), (res, mpv, params))
JOINCLIP_MPV_FORWARD(mpv_render_context_free, void, (mpv_render_context * ctx), (ctx))
JOINCLIP_MPV_FORWARD(mpv_render_context_render, int, (mpv_render_context * ctx, mpv_render_param* params),
                     (ctx, params))
JOINCLIP_MPV_FORWARD(mpv_render_context_set_update_callback, void,
                     (mpv_render_context * ctx, mpv_render_update_fn callback, void* callback_ctx),
                     (ctx, callback, callback_ctx))
JOINCLIP_MPV_FORWARD(mpv_render_context_update, uint64_t, (mpv_render_context * ctx), (ctx))
