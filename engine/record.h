// record.h: the call log of the recording backend.
//
// While recording is on, every drawing call and every sound request is logged
// with its arguments exactly as the game passed them, so unit tests can assert
// on what a frame drew ("Text_Draw '3' 396 272 ...") without any pixels.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace oe {

struct RecordedCall {
    std::string name;           // API function, "SSprite_Draw"
    std::vector<double> args;   // numeric arguments in call order
    std::string text;           // text argument (Text_Draw) or file name, else empty
    const void* handle = nullptr;   // texture, font or sound handle, else null
    std::string ToString() const;   // "SSprite_Draw 0x.. 10 20 64 64 255 0 1"
};

void Recorder_Enable(bool on);               // start or stop logging (starts empty)
bool Recorder_IsOn();
void Recorder_Clear();                       // forget every logged call
const std::vector<RecordedCall>& Recorder_Calls();
// Logs one call when recording is on; a no-op otherwise.
void Record(const char* name, std::initializer_list<double> args, const std::string& text = {},
            const void* handle = nullptr);

}  // namespace oe
