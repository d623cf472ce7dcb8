#pragma once
// Game records on disk: written atomically, so that a failed save leaves any
// older file of that name as it was, and read with a size limit and a
// message that names the file and the line.

#include <string>
#include <variant>

#include <QString>

#include "game/ports.h"
#include "game/record.h"

namespace brindle {

// Writes the text to a temporary file beside `path` and renames it over the
// old one. Returns the reason it could not, for the player; empty when written.
std::string writeAtomically(const QString& path, const std::string& text);

// The record in a file of either format, or a message naming the file (and
// the line, where one is to blame).
std::variant<record::Record, std::string> readRecordFile(const QString& path);

// The kept game as a file in the per-user data folder.
class KeptGameFile final : public KeptGame {
public:
    // The standard place: brindle/last-game.sgf in the user's data folder.
    KeptGameFile();
    explicit KeptGameFile(QString path) : path_(std::move(path)) {}
    std::string read() override;
    std::string write(std::string_view text) override;
    void drop() override;
    const QString& path() const { return path_; }

private:
    QString path_;
};

// The file name shown in messages: the name alone, without its folders.
std::string shownName(const QString& path);

} // namespace brindle
