#pragma once
// OBJModel::readOBJ, the reader of OBJ files: line_parser.h reads the lines,
// read_state.h keeps the model's side of the read, read_plan.h decides
// between the one-thread read and the parallel one (parallel_read.h).
#include "obj/line_parser.h"
#include "obj/read_plan.h"
#include "obj/read_state.h"
