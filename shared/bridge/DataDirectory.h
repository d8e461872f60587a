#pragma once

#include <QString>
#include <optional>

namespace Dovrin::Bridge {

// The folder both programs share: $DOVRIN_HOME, else $XDG_DATA_HOME/dovrin (~/.local/share/dovrin).
// Created with mode 0700 on first use; nothing when it cannot be determined or created.
std::optional<QString> dataDirectory();

// A file directly inside the data directory, or nothing when the directory is unavailable.
std::optional<QString> dataFile(const QString& name);

inline constexpr const char* databaseFileName = "Dovrin.sqlite";
inline constexpr const char* socketFileName = "dv.sock";
inline constexpr const char* imagesFolderName = "Images";
inline constexpr const char* settingsFileName = "settings.json";

} // namespace Dovrin::Bridge
