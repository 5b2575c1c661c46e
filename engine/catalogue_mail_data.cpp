// The Outlook Express and Windows Live Mail items.
#include "engine/catalogue_rows.h"

namespace hm {

void AppendOutlookExpress(std::vector<CatalogueItem>& items) {
    Append(items, 14,
           {
               {"address", "outlook express address book", 0, {"Check110", "Address Book", 0}},
               {"accounts", "outlook express Accounts", 59, {"Check111", "Accounts Settings", 1}},
               {"deleted", "outlook express deleted email", 0, {"Check112", "Deleted Email", 2}},
               {"sent", "outlook express sent email", 60, {"Check113", "Sent Email", 3}},
               {"outbox", "outlook express outbox email", 0, {"Check114", "Outbox Email", 4}},
               {"blocked",
                "outlook express blocked senders list",
                0,
                {"Check115", "Blocked Senders List", 5}},
               {"created",
                "outlook express history of Outlook folders you created",
                0,
                {"Check116", "Folders You Created", 6}},
               {"mailrules", "outlook express mail rules", 62, {"Check117", "Mail Rules", 7}},
               {"newsrules", "outlook express news rules", 0, {"Check118", "News Rules", 8}},
               {"signatures", "outlook express signatures", 0, {"Check119", "Signatures", 9}},
           });
}

void AppendWindowsLiveMail(std::vector<CatalogueItem>& items) {
    Append(items, 15,
           {
               {"Recently",
                "Windows Live Mail Recently",
                64,
                {"Check120", "Windows Live Mail Recently", 0}},
               {"Signatures",
                "Windows Live Mail Signatures",
                0,
                {"Check121", "Windows Live Mail Signatures", 1}},
               {"Block",
                "Windows Live Mail Block Senders list",
                65,
                {"Check122", "Junk Mail Block Senders list", 2}},
               {"Safe",
                "Windows Live Mail Safe Senders list",
                0,
                {"Check123", "Junk Mail Safe Senders list", 3}},
               {"mailrules",
                "Windows Live Mail Mail rules",
                67,
                {"Check124", "Windows Live Mail mail rules", 4}},
               {"newsrules",
                "Windows Live Mail news rules",
                69,
                {"Check125", "Windows Live Mail news rules", 5}},
               {"accounts",
                "Windows Live Mail accounts",
                70,
                {"Check126", "Windows Live Mail accounts", 6}},
           });
}

}  // namespace hm
