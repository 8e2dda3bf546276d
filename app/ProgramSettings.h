#pragma once

#include "Mode.h"

#include <QString>

#include <string>

namespace zanto {

class SettingsStore;

// The values the program remembers between runs, in the section TOLVA_DATA
// of the store's file TOLVA/TOLVA.ini. Each is read and stored as its own
// type, in the text that file has always held, so that a file written by an
// earlier version reads as before. A value that cannot be stored is logged;
// the program goes on with the value it has.
class ProgramSettings {
public:
    explicit ProgramSettings(SettingsStore& store) : m_store(store) {}

    // MODE: "1" continuous, "0" simple, any other text kept as it stands.
    Mode mode() const;
    void storeMode(const Mode& mode);
    // VORIS: the extension list as VorisCodec joins it; empty: none chosen yet.
    QString patterns() const;
    void storePatterns(const QString& patterns);
    // KALDEN: the folder shown when the window closed, a native path; empty: none.
    std::string folder() const;
    void storeFolder(const std::string& folder);
    // SHOTS: "1" for one number per shot, anything else one per file.
    bool shots() const;
    void storeShots(bool on);

private:
    QString read(const QString& name) const;
    void store(const QString& name, const QString& value);

    SettingsStore& m_store;
};

} // namespace zanto
