#pragma once

namespace zanto {

// The hourglass for as long as the object lives, or until released.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void release();

private:
    bool m_active = true;
};

} // namespace zanto
