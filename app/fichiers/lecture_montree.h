#pragma once
// The readers refuse a file by throwing; the commands that take a file in show
// the refusal, and what a reader has to say of a file it read, through this.
#include "commun/dialogues.h"
#include "commun/erreur.h"

#include <optional>
#include <string>

namespace kovrin {

// Runs a reader: what it has to say of a file it read is shown as
// information; a refusal or an input/output error is shown as an error and
// nothing is returned.
template <typename Lecture>
auto lit_en_montrant(Dialogues& d, Lecture&& lecture) -> std::optional<decltype(lecture())> {
    try {
        auto lu = lecture();
        if constexpr (requires { lu.informations; })
            for (const std::string& information : lu.informations)
                d.information(information);
        return lu;
    } catch (const ErreurKovrin& e) {
        d.erreur(e.what());
        return std::nullopt;
    }
}

} // namespace kovrin
