// The texture thumbnail exports: each reads its arguments from the frame and
// hands them to the subsystem.
#include "frame/call_frame.h"
#include "thumbnail/texture_thumbnail.h"

namespace tollgram::exports {

Outcome SetThumbnail(const CallFrame& frame) { return thumbnail::setThumbnailSize(frame.text, frame.value); }

Outcome SaveTextureThumbnail(const CallFrame& frame) {
    return thumbnail::saveTextureThumbnail(frame.context, frame.text, frame.value);
}

}  // namespace tollgram::exports
