#pragma once
// xylib reads the formats of today's diffractometers. It runs in a child
// process: a file that makes the library crash, hang or exhaust memory ends the
// child, not the program, and comes back as a reason like any unreadable file.
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kovrin {

using MetaXylib = std::vector<std::pair<std::string, std::string>>;

// What the program takes from a file xylib read.
struct DonneesXylib {
    std::string erreur;                     // xylib's reason when it could not read the file
    std::string format;                     // xylib's short name of the format ("xrdml")
    std::string description;                // its full name ("PANalytical XRDML")
    int nb_blocs = 0;                       // ranges in the file
    int bloc = -1;                          // the range taken (from 0), -1 when none is usable
    std::size_t nb_points = 0;              // points of that range
    std::vector<double> angles, intensites; // its points; empty when more than asked for
    MetaXylib meta;                         // the file's metadata, then the range's
};

// Real files load in well under a second; a child still busy after this is stuck.
inline constexpr std::chrono::seconds delai_xylib{20};

// The first range of `fichier` whose angles are finite and equidistant or
// increasing, read by xylib in a child process; its points are sent back only
// when there are at most `max_points` of them. Never throws: a failure, the
// child's death or its silence past `delai`, is told in `erreur`.
DonneesXylib charge_par_xylib(const std::filesystem::path& fichier, std::size_t max_points,
                              std::chrono::milliseconds delai = delai_xylib);

} // namespace kovrin
