#pragma once
// What the work behind an export comes to: a success that carries a count,
// a signed number or a stored float, or a named failure. resultOf turns it
// into the float the export returns; nothing else does.
#include <cstdint>

namespace tollgram {

// Why the work failed. Failed is the export's own failure result, the second
// column of the export table (-1 for most exports, 0 for those whose empty
// answer is their failure); the others have fixed codes whatever the export.
enum class Failure : uint8_t {
    Failed,
    TextTooLong,         // -1: a text that does not fit, where the export's failure result is 0
    UnusableInput,       // -2: TOLLGRAM_UNUSABLE_INPUT
    VertexCountsDiffer,  // -3: TOLLGRAM_VERTEX_COUNTS_DIFFER
};

struct Outcome {
    enum class Held : uint8_t { Count, Number, Stored, Failure };

    Held held = Held::Count;
    uint32_t count = 0;   // Count: an unsigned 32-bit count; 0 is plain success
    int32_t number = 0;   // Number: a bounded copy's error number or a count kept signed
    float stored = 0.0f;  // Stored: a float as it is stored (a host field, the release)
    Failure failure = Failure::Failed;

    bool succeeded() const { return held != Held::Failure; }
};

inline Outcome succeeded() { return Outcome{}; }
inline Outcome counted(uint32_t count) { return Outcome{Outcome::Held::Count, count}; }
inline Outcome numbered(int32_t number) { return Outcome{Outcome::Held::Number, 0, number}; }
inline Outcome storedValue(float stored) { return Outcome{Outcome::Held::Stored, 0, 0, stored}; }
inline Outcome failed(Failure failure = Failure::Failed) {
    return Outcome{Outcome::Held::Failure, 0, 0, 0.0f, failure};
}

// The export's float: counts exactly as unsigned (all bits set is
// 4294967295, never -1; above 2^24 the nearest float), numbers as signed,
// stored floats as they are, failures as their code or failureResult.
float resultOf(const Outcome& outcome, float failureResult);

}  // namespace tollgram
