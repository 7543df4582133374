#pragma once
// What every writing export needs before it can write: a current model with
// a group and smoothing group 1, a copy source and a 32-bit texture with a
// thumbnail size, for tests that call the writers by name.
#include <cstdint>
#include <string>
#include <vector>

#include "substitute_host/substitute_host.h"
#include "support/whole_writes.h"
#include "support/temp_folder.h"

namespace tollgram::test {

class WriterScene {
public:
    explicit WriterScene(CallByName call) : call_(call) {
        std::string model;
        for (int i = 0; i < 3000; ++i) model += "v " + std::to_string(i) + " 0.5 -0.25\nvt 0.5 0.5\n";
        model += "g part\ns 1\n";
        for (int i = 1; i + 2 <= 3000; ++i) {
            model += "f " + std::to_string(i) + "/1 " + std::to_string(i + 1) + "/2 " + std::to_string(i + 2) + "/3\n";
        }
        loaded_ = call("LoadOBJFile", folder_.write("model.obj", model).c_str(), 0.0, nullptr) == 1.0f;
        std::string source(50000, '\0');
        for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<char>(i * 31);
        copying_ = call("FileCopyFrom", folder_.write("source.bin", source).c_str(), 0.0, nullptr) == 0.0f;
        pixels_.resize(64 * 64);
        for (size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
        host_.setTexture(64, 64, 32, pixels_.data());
        sized_ = call("SetThumbnail", "width", 16.0, nullptr) == 0.0f && call("SetThumbnail", "height", 16.0, nullptr) == 0.0f;
    }
    ~WriterScene() {
        call_("FreeOBJModel", nullptr, 0.0, nullptr);
        call_("FileCopyFrom", "", 0.0, nullptr);
    }
    WriterScene(const WriterScene&) = delete;
    WriterScene& operator=(const WriterScene&) = delete;

    bool ready() const { return loaded_ && copying_ && sized_; }
    void* context() { return host_.context(); }

private:
    CallByName call_;
    TempFolder folder_;
    substitute::SubstituteHost host_;
    std::vector<uint32_t> pixels_;
    bool loaded_ = false;
    bool copying_ = false;
    bool sized_ = false;
};

}  // namespace tollgram::test
