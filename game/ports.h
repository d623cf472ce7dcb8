#pragma once
// The core's only ways out into the world. The window implements them with Qt;
// tests implement them with recording fakes.

#include <string_view>

#include "types.h"

namespace brindle {

// The main window's client area, in twips from its top-left corner.
class Canvas {
public:
    virtual ~Canvas() = default;
    // Erases everything drawn; the background colour remains.
    virtual void Cls() = 0;
    // A one-pixel line in the foreground colour.
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    // A filled rectangle between two opposite corners, edge included.
    virtual void FillBox(double x1, double y1, double x2, double y2, Colour colour) = 0;
    // When on, drawing goes to a retained image shown at the next repaint; when
    // off, each drawing is on the screen at once.
    virtual void SetPersistentDrawing(bool on) = 0;
    virtual bool PersistentDrawing() const = 0;
};

class Host {
public:
    virtual ~Host() = default;
    // One pass of the event loop: handlers may run inside it.
    virtual void DoEvents() = 0;
    // Lets the event loop run for about the given time (a visible pace).
    virtual void Pause(int milliseconds) = 0;
    virtual void Beep() = 0;
    // Plays a wave file from beside the program, asynchronously.
    virtual void PlaySound(std::string_view file) = 0;
    // Sends one message to the network peer.
    virtual void Send(std::string_view text) = 0;
    // Runs the start-up intro until the user clicks; returns afterwards.
    virtual void ShowIntro() = 0;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Reseeds from the clock.
    virtual void Randomize() = 0;
    // Uniform in [0, 1).
    virtual float Rnd() = 0;
};

} // namespace brindle
