// window_frame.h: the game window's software path. The canvas draws the 800x600
// picture into a surface of its own with every shortcut the headless backend
// has; each frame the picture is copied once into the window's own pixels
// (scaled and letterboxed when the window is another size). No renderer is
// involved, so nothing is uploaded and nothing is drawn twice.
#pragma once

#include <SDL.h>

#include <memory>

#include "engine/canvas.h"

namespace oe {

class WindowFrame {
public:
    WindowFrame() = default;
    ~WindowFrame() { Close(); }
    WindowFrame(const WindowFrame&) = delete;
    WindowFrame& operator=(const WindowFrame&) = delete;

    // False when the picture or the window's pixels cannot be had.
    bool Open(SDL_Window* window);
    void Close();
    bool IsOpen() const { return canvas_ != nullptr; }

    Canvas* GetCanvas() { return canvas_.get(); }
    // Copies the finished picture into the window and shows it.
    void Show();
    // A point of the window (as its events give it) on the 800x600 picture.
    SDL_Point ToPicture(int x, int y) const;

private:
    SDL_Window* window_ = nullptr;
    SDL_Surface* picture_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;   // the canvas's software renderer over the picture
    std::unique_ptr<Canvas> canvas_;
    const SDL_Surface* shown_on_ = nullptr;   // the window surface last drawn on: a new one needs its bars
};

}  // namespace oe
