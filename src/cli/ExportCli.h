#pragma once

#include <QStringList>
#include <optional>

// The commands of olvek-cli that export a document and import dotted text files.
namespace ExportCli {

// Runs the command named by args.first() when it is one of these; nullopt otherwise.
std::optional<int> run(const QStringList &args);

} // namespace ExportCli
