#include "frame/outcome.h"

#include "tollgram.h"

namespace tollgram {

namespace {
float failureCode(Failure failure, float failureResult) {
    switch (failure) {
        case Failure::Failed: return failureResult;
        case Failure::TextTooLong: return static_cast<float>(TOLLGRAM_FAILURE);
        case Failure::UnusableInput: return static_cast<float>(TOLLGRAM_UNUSABLE_INPUT);
        case Failure::VertexCountsDiffer: return static_cast<float>(TOLLGRAM_VERTEX_COUNTS_DIFFER);
    }
    return failureResult;
}
}  // namespace

float resultOf(const Outcome& outcome, float failureResult) {
    switch (outcome.held) {
        case Outcome::Held::Count: return static_cast<float>(outcome.count);
        case Outcome::Held::Number: return static_cast<float>(outcome.number);
        case Outcome::Held::Stored: return outcome.stored;
        case Outcome::Held::Failure: return failureCode(outcome.failure, failureResult);
    }
    return failureResult;
}

}  // namespace tollgram
