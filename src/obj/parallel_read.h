#pragma once
// The parallel read: the file is cut at line ends into chunks, each taken by
// whichever thread is free, and every record is written once, straight into
// the model's own blocks. A chunk goes through four steps:
// - count: its lines by kind (line_count.h), by its thread alone;
// - place, in file order: the counts before it are those of the chunks
//   placed before it, and the model's blocks are made for its records;
// - read: its thread parses it into its slots (placed_store.h), checking
//   every index against the counts at its own line;
// - join, in file order: the lines that need what came before (groups,
//   smoothing groups, materials, libraries, lines of no known kind, faults)
//   are read by the model's side of the read (read_state.h), and the faces
//   between them get the smoothing group and material in force. No thread
//   waits for its chunk's join: whichever thread finds a chunk's turn come
//   joins it, and the others read on.
// So the model is the one the one-thread read makes, byte for byte, with
// the same diagnostics, log lines, result and message. Face lines that
// store no face (empty or invalid ones) leave their slot behind; the faces
// after them move down at the join, which only a file with such lines pays.
//
// The calling thread is one of the threads; the others are started here and
// all joined before the read returns. A thread that can't be started means
// fewer threads. The first fault in file order (or memory running out)
// stops every thread: nothing after it takes effect, and the model keeps
// the records before it.
//
// Memory beyond the model, per thread: two chunks' text (and any line
// longer than a chunk), their slot runs and their events; about 2 MiB at
// the default chunk for a mesh file. A thread takes the next chunk only
// while the chunks in hand hold at most two chunks' text a thread, so that
// lines far longer than a chunk are held one or two at a time, not two by
// every thread; the chunks grown for such lines are the ones used again.
#include "obj/read_plan.h"
#include "obj/read_state.h"
#include "obj/read_status.h"
#include "obj/text_chunks.h"

namespace tollgram::obj {

ReadStatus readInParallel(ReadState& state, TextChunks& chunks, const ReadPlan& plan);

// The lines of a block, in file order, into the model: the one-thread read
// of a block.
ReadStatus readWithModel(ReadState& state, const TextBuffer& text);

}  // namespace tollgram::obj
