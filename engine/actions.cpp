// One overload of Run per kind of action; the pass calls the one that fits.
#include "engine/pass_context.h"
#include "engine/steps/steps.h"

namespace hm {
namespace {

std::string Folder(PassContext& c, const FolderRef& folder) {
    return c.folders.Resolve(folder);
}

Counts Keys(double count) {
    return {count, 0};
}

Counts Bytes(double count) {
    return {0, count};
}

Counts Run(const act::DeleteRegKey& a, PassContext& c) {
    return Keys(c.eraser.DeleteRegKey(a.root, std::string(a.subKey)));
}

Counts Run(const act::DeleteRegTree& a, PassContext& c) {
    return Keys(c.eraser.DeleteRegTree(a.root, std::string(a.subKey)));
}

Counts Run(const act::DeleteRegValue& a, PassContext& c) {
    return Keys(c.eraser.DeleteRegValue(a.root, std::string(a.subKey), std::string(a.value)));
}

Counts Run(const act::DeleteIniSection& a, PassContext& c) {
    c.eraser.DeleteIniSection(Folder(c, a.file), std::string(a.section));
    return {};
}

Counts Run(const act::DeleteFolderFiles& a, PassContext& c) {
    return Bytes(c.eraser.DeleteFolderFiles(Folder(c, a.folder)));
}

Counts Run(const act::DeleteNamedFiles& a, PassContext& c) {
    return Bytes(c.eraser.DeleteNamedFiles(Folder(c, a.folder), std::string(a.fileName)));
}

Counts Run(const act::DeleteFilesByExtension& a, PassContext& c) {
    return Bytes(c.eraser.DeleteFilesByExtension(Folder(c, a.folder), std::string(a.extension)));
}

Counts Run(const act::DeleteNamedFolders& a, PassContext& c) {
    return Bytes(c.eraser.DeleteNamedFolders(Folder(c, a.folder), std::string(a.folderName)));
}

Counts Run(const act::ResetFolder& a, PassContext& c) {
    return Bytes(c.eraser.ResetFolder(Folder(c, a.folder)));
}

Counts Run(const act::DeleteFilesInFolder& a, PassContext& c) {
    return Bytes(c.eraser.DeleteFilesInFolder(Folder(c, a.folder)));
}

Counts Run(const act::DeleteNamedFilesInFolder& a, PassContext& c) {
    return Bytes(c.eraser.DeleteNamedFilesInFolder(Folder(c, a.folder), std::string(a.fileName)));
}

Counts Run(const act::DeleteFilesByExtensionInFolder& a, PassContext& c) {
    return Bytes(
        c.eraser.DeleteFilesByExtensionInFolder(Folder(c, a.folder), std::string(a.extension)));
}

Counts Run(const act::AddToTotals& a, PassContext&) {
    return {a.registryKeys, a.bytes};
}

Counts Run(const act::NoAction&, PassContext&) {
    return {};
}

Counts Run(const act::Step& a, PassContext& c) {
    return RunStep(a, c);
}

}  // namespace

Counts Run(const Action& action, PassContext& context) {
    return std::visit([&](const auto& a) { return Run(a, context); }, action);
}

}  // namespace hm
