#pragma once
// Ports that do nothing at all, for measuring the game alone.

#include "game/ports.h"

namespace brindle::bench {

class NullCanvas final : public Canvas {
public:
    void clear() override {}
    void line(double, double, double, double) override {}
    void fillBox(double, double, double, double, Colour) override {}
    void setPersistentDrawing(bool on) override { persistent_ = on; }
    bool persistentDrawing() const override { return persistent_; }

private:
    bool persistent_ = true;
};

} // namespace brindle::bench
