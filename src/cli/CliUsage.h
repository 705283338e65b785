#pragma once

// The whole help text of olvek-cli, every command's part in one place: --help prints it, and a
// call without a command prints it as the usage error.
namespace CliUsage {

const char *text();

} // namespace CliUsage
