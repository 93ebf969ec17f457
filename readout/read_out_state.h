#pragma once
// How far a read-out has got.

namespace lexorant {

enum class ReadOutState {
    Empty,    // nothing read or opened yet
    Reading,  // a read is filling it
    Complete, // a read ran to its end, or a file was opened
    Stopped,  // a read ended early: only some entries are in
};

} // namespace lexorant
