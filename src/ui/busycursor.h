#pragma once

// The hourglass for the length of a long step, restored however the step ends.
namespace perlinex {

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace perlinex
