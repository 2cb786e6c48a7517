#pragma once
// A read-only viewer of a text file of the program (listings, reports): shown
// in a fixed-pitch font, decoded as Latin-1 (the listing's degree sign is one
// byte), with Print and "Open with the desktop's editor".
#include <QWidget>

#include <filesystem>

class QPlainTextEdit;

namespace kovrin::fenetres {

class Visionneuse : public QWidget {
    Q_OBJECT
public:
    explicit Visionneuse(const std::filesystem::path& fichier);
    // The file read again (it may have been written anew).
    void recharge();
    const std::filesystem::path& fichier() const { return fichier_; }
    QPlainTextEdit* texte;

private:
    std::filesystem::path fichier_;
};

} // namespace kovrin::fenetres
