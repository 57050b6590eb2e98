#pragma once

#include <atomic>

// Whether text the user has seen is not on disk yet, readable from any thread. A
// termination signal that finds the program busy with something long may end it at once
// only when nothing would be lost. Each holder of such text owns one of these and says when
// it holds some.
class UnsavedWork
{
public:
    UnsavedWork() = default;
    ~UnsavedWork() { set(false); }
    UnsavedWork(const UnsavedWork &) = delete;
    UnsavedWork &operator=(const UnsavedWork &) = delete;

    void set(bool unsaved)
    {
        if (unsaved != m_unsaved) {
            m_unsaved = unsaved;
            s_holders.fetch_add(unsaved ? 1 : -1);
        }
    }

    static bool anywhere() { return s_holders.load() > 0; }

private:
    bool m_unsaved = false;
    static inline std::atomic<int> s_holders{0};
};
