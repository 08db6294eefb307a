#include "infra/Log.h"

#include <cstdio>
#include <utility>

LogLevel logThreshold = 0;
const std::string defaultLogComponent = "main";

std::string levelLabel(LogLevel level) {
    switch (level) {
        case TRACE:
            return "TRACE ";
        case INFO:
            return "INFO  ";
        case DEBUG:
            return "DEBUG ";
        case WARN:
            return "WARN  ";
        case ERR:
            return "ERR   ";
        case FATAL:
            return "FATAL ";
        default:
            return "";
    }
}

void logMessage(LogLevel level, const std::string& component, std::string message) {
    if (level < logThreshold) return;
    std::string line = levelLabel(level);
    line.append(component).append(": ").append(message).append(1, '\n');
    // One stdio call takes the stream's lock once, so a line from another thread (the picture
    // decoders log too) cannot land inside this one. std::cout shares stdout's buffer.
    std::fwrite(line.data(), 1, line.size(), stdout);
}

void logInfo(std::string message) {
    logMessage(INFO, defaultLogComponent, std::move(message));
}

void logDebug(const std::string& component, std::string message) {
    logMessage(DEBUG, component, std::move(message));
}

void logWarn(const std::string& component, std::string message) {
    logMessage(WARN, component, std::move(message));
}

void logError(const std::string& component, std::string message) {
    logMessage(ERR, component, std::move(message));
}

void logFatal(std::string message) {
    logMessage(FATAL, defaultLogComponent, std::move(message));
}
