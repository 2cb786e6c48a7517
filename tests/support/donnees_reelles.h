#pragma once
// The real diffraction files live outside the repository, beside the checkout;
// a clone without them skips the tests that read them.
#include <gtest/gtest.h>

#include <filesystem>

namespace kovrin::test {

inline bool donnees_reelles_absentes() {
    return !std::filesystem::is_directory(KOVRIN_REAL_DATA_DIR);
}

} // namespace kovrin::test

#define KOVRIN_EXIGE_DONNEES_REELLES()                                                             \
    if (::kovrin::test::donnees_reelles_absentes())                                                \
    GTEST_SKIP() << "the real diffraction files are not there: " KOVRIN_REAL_DATA_DIR
