#include "engine/plugins.h"

#include <optional>

#include "config/inifun.h"
#include "config/plugin_rules.h"

namespace hm {

Counts processshell(const std::string& file, PassContext& context) {
    Counts counts;
    for (const PluginSection section : kPluginSections) {
        for (const std::string& line : ReadIniSection(PluginSectionName(section), file)) {
            const std::optional<PluginAction> action =
                ParsePluginLine(section, line, context.values.AppDataFolder,
                                context.values.LocalAppDataFolder);
            if (!action) {
                continue;
            }
            switch (section) {
                case PluginSection::RegTree:
                    counts.registryKeys += context.eraser.DeleteRegTree(action->root, action->subKey);
                    break;
                case PluginSection::RegValue:
                    counts.registryKeys +=
                        context.eraser.DeleteRegValue(action->root, action->subKey, action->valueName);
                    break;
                case PluginSection::File:
                    counts.bytes +=
                        context.eraser.DeleteNamedFilesInFolder(action->folder, action->name);
                    break;
                case PluginSection::FileExt:
                    counts.bytes +=
                        context.eraser.DeleteFilesByExtensionInFolder(action->folder, action->name);
                    break;
                case PluginSection::Folder:
                    counts.bytes += context.eraser.ResetFolder(action->folder);
                    break;
            }
        }
    }
    return counts;
}

}  // namespace hm
