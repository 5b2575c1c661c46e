// The Microsoft Office items: registry lists only. Most live below the key named after the Office
// version the pass probed just before these rows (O, and W for the profile wizard); with no Office
// or an unknown one that name is empty and the paths keep two backslashes in a row.
#include <initializer_list>
#include <utility>

#include "engine/catalogue_rows.h"

namespace hm {
namespace {

using Suffixes = std::initializer_list<std::string_view>;

Action Tree(std::string_view suffix) {
    return act::Step{StepId::OfficeTree, {BaseFolder::OfficeKeys, suffix}};
}

Action WizardTree(std::string_view suffix) {
    return act::Step{StepId::OfficeTree, {BaseFolder::OfficeWizardKeys, suffix}};
}

Action Value(std::string_view suffix, std::string_view name) {
    return act::Step{StepId::OfficeValue, {BaseFolder::OfficeKeys, suffix}, {name}};
}

Action FixedTree(std::string_view subKey) {
    return act::DeleteRegTree{kCurrentUser, subKey};
}

std::vector<Action> Trees(Suffixes suffixes) {
    std::vector<Action> actions;
    for (const std::string_view suffix : suffixes) {
        actions.push_back(Tree(suffix));
    }
    return actions;
}

// The trees of `then` when the version is one of `versions`, else those of `otherwise`. Word,
// Excel and PowerPoint keep their lists as "File MRU" and "Place MRU" from 12.0 on, Access from
// 14.0 on.
std::vector<Action> ByVersion(Suffixes versions, Suffixes then, Suffixes otherwise) {
    std::vector<Action> actions;
    const auto add = [&](std::string_view condition, Suffixes suffixes) {
        for (const std::string_view suffix : suffixes) {
            act::Step step{StepId::OfficeTree, {BaseFolder::OfficeKeys, suffix}, {condition}};
            step.args.insert(step.args.end(), versions.begin(), versions.end());
            actions.push_back(std::move(step));
        }
    };
    add("when", then);
    add("unless", otherwise);
    return actions;
}

#define FP "Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer"
#define SV "Software\\Microsoft\\Snapshot Viewer"

}  // namespace

void AppendOffice(std::vector<CatalogueItem>& items) {
    Append(
        items, 13,
        {
            {"word",
             "Microsoft Word",
             49,
             {"Check37", "Microsoft Word", 0},
             ByVersion(
                 {"12.0", "14.0"}, {"\\Word\\File MRU", "\\Word\\Place MRU"},
                 {"\\Word\\Data", "\\Word\\Recent Templates", "\\Word\\ProjectTemplateLocation"})},
            {"excel",
             "Microsoft Excel",
             50,
             {"Check38", "Microsoft Excel", 1},
             ByVersion({"12.0", "14.0"}, {"\\Excel\\File MRU", "\\Excel\\Place MRU"},
                       {"\\Excel\\Recent Files", "\\Excel\\Recent Templates",
                        "\\Excel\\ProjectTemplateLocation"})},
            {"Powerpoint",
             "Microsoft Powerpoint",
             51,
             {"Check39", "Microsoft PowerPoint", 2},
             ByVersion({"12.0", "14.0"}, {"\\PowerPoint\\File MRU", "\\PowerPoint\\Place MRU"},
                       {"\\PowerPoint\\Recent File List", "\\PowerPoint\\Recent Templates",
                        "\\PowerPoint\\RecentFolderList", "\\PowerPoint\\RecentTemplateList",
                        "\\PowerPoint\\ProjectTemplateLocation"})},
            {"FrontPage",
             "Microsoft FrontPage",
             52,
             {"Check40", "Microsoft FrontPage", 3},
             {FixedTree(FP "\\Recent File List"), FixedTree(FP "\\Recent Page List"),
              FixedTree(FP "\\Recent Web List"), FixedTree(FP "\\Recently Created Servers"),
              act::DeleteRegValue{kCurrentUser, FP "\\Settings", "LastWebOpen"}}},
            {"Access",
             "Microsoft Access",
             0,
             {"Check36", "Microsoft Access", 4},
             ByVersion({"14.0"}, {"\\Access\\File MRU", "\\Access\\Place MRU"},
                       {"\\Access\\Settings", "\\Access\\Internet\\Recent Templates"})},
            {"Publisher",
             "Microsoft Publisher",
             0,
             {"Check102", "Microsoft Publisher", 5},
             Trees({"\\Publisher\\Recent File List", "\\Publisher\\File MRU",
                    "\\Publisher\\Place MRU"})},
            {"InfoPath",
             "Microsoft InfoPath",
             0,
             {"Check103", "Microsoft InfoPath", 6},
             Trees({"\\InfoPath\\Recent File List", "\\InfoPath\\Recent Templates",
                    "\\InfoPath\\File MRU", "\\InfoPath\\Place MRU"})},
            {"Project",
             "Microsoft Project",
             53,
             {"Check104", "Microsoft Project", 7},
             Trees({"\\MS Project\\Recent File List", "\\MS Project\\Recent Templates",
                    "\\MS Project\\ProjectTemplateLocation", "\\MS Project\\File MRU",
                    "\\MS Project\\Place MRU"})},
            {"Visio",
             "Microsoft Visio",
             0,
             {"Check105", "Microsoft Visio", 8},
             Trees({"\\Visio\\Recent Templates", "\\Visio\\File MRU", "\\Visio\\Place MRU"})},
            // Only the keyword list of the Clip Organizer's key goes; its other values stay.
            {"Organizer",
             "Clip Organizer",
             0,
             {"Check106", "Microsoft Clip Organizer", 9},
             {Value("\\Clip Organizer", "MRUKeywords"), Tree("\\Clip Organizer\\File MRU"),
              Tree("\\Clip Organizer\\Place MRU")}},
            {"Settings",
             "Microsoft Office Settings",
             54,
             {"Check107", "Microsoft Office Save My Settings", 10},
             {WizardTree("\\RecentFileList"), WizardTree("\\File MRU"), WizardTree("\\Place MRU")}},
            {"Picture",
             "Microsoft Office Picture Manager",
             0,
             {"Check108", "Microsoft Office Picture Manager", 11},
             {Value("\\OIS\\Options", "LastTreeConfig"),
              Value("\\OIS\\Options", "LastTreeSelection"),
              Tree("\\Common\\Open Find\\Microsoft Office Picture Manager\\Settings\\Add Picture "
                   "Shortcut\\File Name MRU")}},
            {"Viewer",
             "Microsoft Snapshot Viewer",
             55,
             {"Check109", "Microsoft Snapshot Viewer", 12},
             {FixedTree(SV "\\Recent File List"), FixedTree(SV "\\File MRU"),
              FixedTree(SV "\\Place MRU")}},
        });
}

#undef FP
#undef SV

}  // namespace hm
