#pragma once

#include <string>

// Levelled console log: "LABEL component: message\n" on standard output.
using LogLevel = int;
constexpr LogLevel TRACE = 1;
constexpr LogLevel INFO = 2;
constexpr LogLevel DEBUG = 3;
constexpr LogLevel WARN = 4;
constexpr LogLevel ERR = 5;
constexpr LogLevel FATAL = 6;

// Lowest level that is printed; the model pool raises it to ERR.
extern LogLevel logThreshold;
// Component name of code that has no component of its own.
extern const std::string defaultLogComponent;

// Six-character label of a level ("INFO  "), or "" for an unknown level.
std::string levelLabel(LogLevel level);

// True when a line of this level would be printed; lets callers skip building messages
// nobody will see.
inline bool logEnabled(LogLevel level) { return level >= logThreshold; }

void logMessage(LogLevel level, const std::string& component, std::string message);

void logInfo(std::string message);
void logDebug(const std::string& component, std::string message);
void logWarn(const std::string& component, std::string message);
void logError(const std::string& component, std::string message);
void logFatal(std::string message);
