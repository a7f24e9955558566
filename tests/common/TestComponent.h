#pragma once

#include "media/ExportComponent.h"

namespace testing_support {

// An export component that no build has, for tests of the layers that offer
// components: it writes video and sound with two encoders of each and has a
// settings dialog. Its title is "name [subtype,manufacturer]".
inline media::ExportComponent testComponent(const std::string& name, media::FourCharCode subtype,
                                            media::FourCharCode manufacturer,
                                            const std::string& extension = "mov") {
    media::ExportComponent component;
    component.name = name;
    component.info = "Writes " + name;
    component.extension = extension;
    component.subtype = subtype;
    component.manufacturer = manufacturer;
    component.writesVideo = component.writesSound = true;
    component.videoEncoders = {"libx264", "mpeg4"};
    component.audioEncoders = {"aac", "pcm_s16le"};
    return component;
}

} // namespace testing_support
