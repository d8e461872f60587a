#pragma once

#include <QLoggingCategory>

// The one logging category of both programs; log lines keep the words the design gives them.
Q_DECLARE_LOGGING_CATEGORY(dovrinLog)
