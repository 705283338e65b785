#pragma once

class QByteArray;

// The command-line tool's commands that run the text mode (to-text, from-text). They need the
// widgets the text mode works on, so they run with their own application on the offscreen
// platform, without a display.
namespace TextModeCommands {

bool handles(const char *command);
int run(int argc, char **argv);

} // namespace TextModeCommands
