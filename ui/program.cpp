#include "ui/program.h"

#include "runtime/text/text_file.h"

#include <system_error>

std::string LayerFileName(const Program& program, std::string_view name) {
    std::error_code error;
    if (std::filesystem::equivalent(program.folder, ProgramFolder(), error)) return std::string(name);
    return Utf8ToCp1252(ResolveInFolder(program.folder, name).string());
}
