#pragma once
// What each fuzz target does with one input, shared by the libFuzzer programs
// and by the test that replays the inputs they found. The first byte of an
// input chooses the format, the rest is the file's content (the space-group
// target also takes a symbol). Each writes its file in the current directory,
// runs the reader, and returns what it did wrong short of a crash: empty when
// it behaved (a refusal said why, values read are finite and within bounds).
#include <string>
#include <string_view>

namespace kovrin::fuzz {

std::string essaie_pics(std::string_view entree);    // DIF, XFIT, WINFIT, Philips, columns
std::string essaie_profils(std::string_view entree); // the rows of the profile-format table
std::string essaie_mailles(std::string_view entree); // .cry, .ics, and the symbol they give
std::string essaie_groupes(std::string_view entree); // spgr2.dat, .pos, scfs.dat, symbols
// A command line of kovrin-batch built from the bytes, run in process on small
// silicon files: no exception may escape, the exit status is 0, 1 or 2.
std::string essaie_batch(std::string_view entree);

// The function of a target by its name ("pics", "profils", "mailles", "groupes", "batch"), or
// nullptr.
using Essai = std::string (*)(std::string_view);
Essai essai_de(std::string_view cible);

} // namespace kovrin::fuzz
