#pragma once

// olvek-cli print-vertical: the main document as a vertical book or 原稿用紙 PDF. It runs the
// web engine of the print library without a display (on the offscreen platform).
namespace VerticalPrintCli {

bool handles(const char *command);
int run(int argc, char **argv);

} // namespace VerticalPrintCli
