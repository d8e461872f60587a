#pragma once

#include <QLoggingCategory>

// The one logging category of both programs. Log lines keep their exact words: people and scripts grep them.
Q_DECLARE_LOGGING_CATEGORY(dovrinLog)

// How a yes-or-no field of a log line reads.
inline const char* logBool(bool value) {
    return value ? "true" : "false";
}
