#pragma once
// The OBJ subsystem's state that outlives a call: the one current model.
// LoadOBJFile installs it, FreeOBJModel destroys it, and the other OBJ and
// transfer exports borrow it for the length of one call.
namespace tollgram::obj {

struct OBJModel;

struct ObjState {
    OBJModel* currentModel;  // owned; null when there is none
};

ObjState& objState();

// Destroys the current model, if there is one, and leaves none.
void releaseCurrentModel();

// Back to the load-time state. The current model pointer is cleared without
// releasing the model: callers that own one free it first.
void resetObjState();

}  // namespace tollgram::obj
