#pragma once
// The parallel read: the file is cut at line ends into chunks, each taken by
// whichever thread is free. A chunk goes through four steps:
// - count: its coordinate lines by kind (line_count.h), by its thread alone;
// - place, in file order: the counts before it are those of the chunks
//   placed before it;
// - read: its thread parses it into records of its own (chunk_records.h),
//   checking every index against the counts at its own line;
// - join, in file order: its records are appended to the model, with the
//   lines that need what came before (groups, smoothing groups, materials,
//   libraries, lines of no known kind, faults) read between them by the
//   model's side of the read (model_joiner.h). No thread waits for its
//   chunk's join: whichever thread finds a chunk's turn come joins it, and
//   the others read on.
// The one-thread read reads and joins the same chunks one after the other,
// so the two give the same model, diagnostics, log lines, result and
// message by construction.
//
// The calling thread is one of the threads; the others are started here and
// all joined before the read returns. A thread that can't be started means
// fewer threads. The first fault in file order (or memory running out)
// stops every thread: nothing after it takes effect, and the model keeps
// the records before it.
//
// Memory beyond the model, per thread: two chunks' text (and any line
// longer than a chunk) and their records; about 1 MiB at the default chunk
// for a mesh file. A thread takes the next chunk only while the chunks in
// hand hold at most two chunks' text a thread, so that lines far longer
// than a chunk are held one or two at a time, not two by every thread; the
// chunks grown for such lines are the ones used again.
#include "obj/read/read_plan.h"
#include "obj/read/model_joiner.h"
#include "obj/read/read_status.h"
#include "obj/read/text_chunks.h"

namespace tollgram::obj {

ReadStatus readInParallel(ModelJoiner& state, TextChunks& chunks, const ReadPlan& plan);

}  // namespace tollgram::obj
