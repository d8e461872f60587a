#pragma once

#include <QtGlobal>

#include <array>

// The tools' names and limits as both programs state them: the app enforces them, and dovrin-mcp's tool
// list describes them to AI clients, so a change here reaches both sides at once.
namespace Dovrin::Bridge {

// The six tools, in the order the tool list shows them.
inline constexpr std::array<const char*, 6> toolNames{"list_notes",  "read_note", "create_notes",
                                                      "update_note", "set_todo",  "delete_note"};

// 200 KB of UTF-8 markdown per note.
inline constexpr int maxMarkdownBytes = 200 * 1024;
inline constexpr int maxNotesPerCreate = 10;
inline constexpr int maxImagesPerRead = 4;
// 2 MB per attached image file.
inline constexpr qint64 maxImageBytes = 2 * 1024 * 1024;
// list_notes without a limit; read_note's page of characters, and the smallest page it gives.
inline constexpr qint64 defaultListLimit = 50;
inline constexpr qint64 defaultPageSize = 24000;
inline constexpr qint64 minPageSize = 1000;

// The sticky colours, in the order the colour menu shows them.
inline constexpr std::array<const char*, 6> colorNames{"yellow", "blue", "green", "pink", "purple", "gray"};

} // namespace Dovrin::Bridge
