// The Outlook Express and Windows Live Mail items.
#include "engine/catalogue_rows.h"

namespace hm {
namespace {

// The one Outlook Express identity whose registry lists are cleaned; other identities keep theirs.
#define OE                                                                              \
    "Identities\\{D26D609B-5ED5-4F41-B764-6684674F99A4}\\Software\\Microsoft\\Outlook " \
    "Express\\5.0"
#define WLM "Software\\Microsoft\\Windows Live Mail"
// The common open and save dialogs' lists of Windows itself, cleared for every program.
#define CD "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32"

Action Tree(std::string_view subKey) {
    return act::DeleteRegTree{kCurrentUser, subKey};
}

// The mail-store files, by contrast, go in every identity: the walk covers all of them.
Action Store(std::string_view fileName) {
    return act::DeleteNamedFiles{{BaseFolder::LocalAppData, "\\Identities"}, fileName};
}

}  // namespace

void AppendOutlookExpress(std::vector<CatalogueItem>& items) {
    Append(items, 14,
           {
               {"address",
                "outlook express address book",
                0,
                {"Check110", "Address Book", 0},
                {act::DeleteFilesByExtension{{BaseFolder::AppData, "\\Microsoft\\Address Book"},
                                             "wab"}}},
               {"accounts",
                "outlook express Accounts",
                59,
                {"Check111", "Accounts Settings", 1},
                {Tree("Software\\Microsoft\\Internet Account Manager")}},
               {"deleted",
                "outlook express deleted email",
                0,
                {"Check112", "Deleted Email", 2},
                {Store("Deleted Items.dbx")}},
               {"sent",
                "outlook express sent email",
                60,
                {"Check113", "Sent Email", 3},
                {Store("Sent Items.dbx")}},
               {"outbox",
                "outlook express outbox email",
                0,
                {"Check114", "Outbox Email", 4},
                {Store("Outbox.dbx")}},
               {"blocked",
                "outlook express blocked senders list",
                0,
                {"Check115", "Blocked Senders List", 5},
                {Tree(OE "\\Block Senders"), act::AddToTotals{1, 0}}},
               {"created",
                "outlook express history of Outlook folders you created",
                0,
                {"Check116", "Folders You Created", 6},
                {Store("Folders.dbx")}},
               {"mailrules",
                "outlook express mail rules",
                62,
                {"Check117", "Mail Rules", 7},
                {Tree(OE "\\Rules\\Mail")}},
               {"newsrules",
                "outlook express news rules",
                0,
                {"Check118", "News Rules", 8},
                {Tree(OE "\\Rules\\News"), act::AddToTotals{1, 0}}},
               {"signatures",
                "outlook express signatures",
                0,
                {"Check119", "Signatures", 9},
                {Tree(OE "\\signatures")}},
           });
}

void AppendWindowsLiveMail(std::vector<CatalogueItem>& items) {
    Append(items, 15,
           {
               {"Recently",
                "Windows Live Mail Recently",
                64,
                {"Check120", "Windows Live Mail Recently", 0},
                {Tree(WLM "\\Recent Stationery Wide List"), Tree(WLM "\\Reply Count"),
                 Tree(CD "\\CIDSizeMRU"), Tree(CD "\\LastVisitedPidlMRU"),
                 Tree(CD "\\OpenSavePidlMRU")}},
               {"Signatures",
                "Windows Live Mail Signatures",
                0,
                {"Check121", "Windows Live Mail Signatures", 1},
                {Tree(WLM "\\signatures")}},
               {"Block",
                "Windows Live Mail Block Senders list",
                65,
                {"Check122", "Junk Mail Block Senders list", 2},
                {Tree(WLM "\\PerPassportSettings\\0\\Junk Mail\\Block Senders List")}},
               {"Safe",
                "Windows Live Mail Safe Senders list",
                0,
                {"Check123", "Junk Mail Safe Senders list", 3},
                {Tree(WLM "\\PerPassportSettings\\0\\Junk Mail\\Safe Senders List")}},
               {"mailrules",
                "Windows Live Mail Mail rules",
                67,
                {"Check124", "Windows Live Mail mail rules", 4},
                {Tree(WLM "\\Rules\\Mail")}},
               {"newsrules",
                "Windows Live Mail news rules",
                69,
                {"Check125", "Windows Live Mail news rules", 5},
                {Tree(WLM "\\Rules\\News")}},
               {"accounts",
                "Windows Live Mail accounts",
                70,
                {"Check126", "Windows Live Mail accounts", 6},
                {act::DeleteFilesByExtension{{BaseFolder::MailStoreRoot, ""}, "oeaccount"}}},
           });
}

#undef OE
#undef WLM
#undef CD

}  // namespace hm
