#pragma once
// Where a session's lines come from: a script file, standard input, or the
// terminal with line editing and history where the tool has them.
#include <cstdio>
#include <istream>
#include <memory>
#include <string>

namespace tollgram::host_tool {

class LineSource {
public:
    virtual ~LineSource() = default;
    // The next line without its line end; false at the end of input.
    virtual bool next(std::string& line) = 0;
};

// Lines of a stream; with a prompt, "tollgram> " is printed on out before
// each is read.
class StreamLines : public LineSource {
public:
    StreamLines(std::istream& in, bool prompt, std::FILE* out) : in_(in), prompt_(prompt), out_(out) {}
    bool next(std::string& line) override;

private:
    std::istream& in_;
    bool prompt_;
    std::FILE* out_;
};

// Lines typed at the terminal: with line editing and history (the arrow
// keys, Ctrl-R) where the tool was built with libedit, otherwise plain
// lines of standard input after a prompt on out.
std::unique_ptr<LineSource> terminalLines(std::FILE* out);

// Whether terminalLines edits lines itself.
bool hasLineEditing();

}  // namespace tollgram::host_tool
