#pragma once

// The command of olvek-cli that prints a document to a PDF file. It draws text, so it runs the
// toolkit's graphical part on the offscreen platform: no display is needed.
namespace PrintCli {

bool handles(const char *command);
int run(int argc, char **argv);

} // namespace PrintCli
