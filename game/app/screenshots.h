#pragma once
// F12's screenshots: the next finished frame is saved as a PNG file in the
// player's pictures folder, and a short note tells the file's name, or that
// it could not be saved, for a couple of seconds. The note itself is never
// in a picture.

#include <cstdint>
#include <string>

#include "core/pixel_buffer.h"
#include "runtime/input_events.h"

namespace gb {

class Tgfx_Font;
class TSurface;

class TScreenshots {
public:
    static constexpr TVirtualKey Key = vk::F1 + 11;  // F12
    static constexpr std::uint32_t NoteMs = 2000;

    // Saves the next frame given to Capture.
    void Request() { Requested = true; }
    // The finished frame, before the note is drawn over it: saved when a
    // shot was asked for, and the note shows from `now` on.
    void Capture(const bbx::TPixelBuffer& frame, std::uint32_t now);
    void DrawNote(TSurface& target, const Tgfx_Font& font, std::uint32_t now) const;

    // The text of the last note (Windows-1250), shown or not.
    const std::string& Note() const { return NoteText; }
    bool ShowsNote(std::uint32_t now) const { return !NoteText.empty() && now - NoteStart < NoteMs; }

private:
    bool Requested = false;
    std::string NoteText;
    std::uint32_t NoteStart = 0;
};

}  // namespace gb
