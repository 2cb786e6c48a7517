#pragma once
// The one exception of the program: a failed run-time check (index range,
// capacity, file input/output). It ends the current command; the command
// boundary shows its text in an error box and the program goes on.
#include <stdexcept>
#include <string>

namespace kovrin {

class ErreurKovrin : public std::runtime_error {
public:
    explicit ErreurKovrin(const std::string& texte) : std::runtime_error(texte) {}
};

// A failure the program cannot go on after (its data files are missing): the
// command boundary shows the text and ends the program.
class ArretProgramme : public ErreurKovrin {
public:
    using ErreurKovrin::ErreurKovrin;
};

} // namespace kovrin
