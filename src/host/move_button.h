#pragma once
// Finds two interface items by their names and relinks the first to
// directly follow the second. Only the tree's links change; laying out and
// redrawing is the host's business.
#include "frame/outcome.h"

namespace tollgram::host {

Outcome moveButtonAfter(const void* hostContext, const char* movedWords, const char* anchorWords);

}  // namespace tollgram::host
