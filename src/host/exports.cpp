// The host bridge exports: each reads its arguments from the frame and hands
// them to the subsystem.
#include "frame/call_frame.h"
#include "host/material_names.h"
#include "host/mesh_info.h"
#include "host/mesh_transfer.h"
#include "host/move_button.h"

namespace tollgram::exports {

Outcome GetMesh3DInfo(const CallFrame& frame) {
    return host::meshInfo(frame.context, frame.text, frame.value, frame.buffer, frame.bufferSize);
}

Outcome SetMesh3DInfo(const CallFrame& frame) { return host::setMeshInfo(frame.context, frame.text, frame.value); }

Outcome RenameAlpha(const CallFrame& frame) { return host::renameAlpha(frame.context, frame.text); }

Outcome GetAlphaInfo(const CallFrame& frame) {
    return host::alphaNameInfo(frame.context, frame.text, frame.buffer, frame.bufferSize);
}

Outcome RenameTexture(const CallFrame& frame) { return host::renameTexture(frame.context, frame.text); }

Outcome GetTextureInfo(const CallFrame& frame) {
    return host::textureNameInfo(frame.context, frame.text, frame.buffer, frame.bufferSize);
}

Outcome SetMesh3DFromOBJGroup(const CallFrame& frame) {
    return host::transferToMesh(frame.context, frame.text, frame.value, host::Choice::Group);
}

Outcome SetMesh3DFromOBJSmoothGroup(const CallFrame& frame) {
    return host::transferToMesh(frame.context, frame.text, frame.value, host::Choice::SmoothingGroup);
}

// The buffer carries the second item's name, as an input.
Outcome MoveButtonAfter(const CallFrame& frame) {
    return host::moveButtonAfter(frame.context, frame.text, frame.buffer);
}

}  // namespace tollgram::exports
