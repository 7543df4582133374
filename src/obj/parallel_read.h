#pragma once
// The parallel read: the file is cut at line ends into chunks, each read by
// whichever thread is free (chunk_store.h says how a chunk is read apart),
// and the chunks are joined to the model one after another in file order,
// each by the thread that read it. Joining a chunk is reading it in file
// order with the model at hand: its records are copied in, its deferred
// lines read between them by the model's side of the read (read_state.h),
// and its rest, when its worker stopped early, read line by line. When the
// chunk's indices don't all fit the counts at its start, the whole chunk is
// read again that way, which finds the first fault exactly. So the model is
// the one the one-thread read makes, byte for byte, with the same
// diagnostics, log lines, result and message.
//
// The calling thread is one of the threads; the others are started here and
// all joined before the read returns. A thread that can't be started means
// fewer threads. The first fault in file order (or memory running out)
// stops every thread: nothing after it takes effect.
//
// Memory beyond the model, per thread: one chunk's text (the chunk, and any
// line longer than it) and its records, at most ReadPlan::recordBytes (16
// times the chunk); at the defaults, 1 MiB and 16 MiB at most, about 2 MiB
// for a mesh file.
#include "obj/read_plan.h"
#include "obj/read_state.h"
#include "obj/read_status.h"
#include "obj/text_chunks.h"

namespace tollgram::obj {

ReadStatus readInParallel(ReadState& state, TextChunks& chunks, const ReadPlan& plan);

// The lines of text from offset on, in file order, into the model: the
// one-thread read of a block.
ReadStatus readWithModel(ReadState& state, const TextBuffer& text, size_t offset);

}  // namespace tollgram::obj
