// The Microsoft Office items.
#include "engine/catalogue_rows.h"

namespace hm {

void AppendOffice(std::vector<CatalogueItem>& items) {
    Append(items, 13,
           {
               {"word", "Microsoft Word", 49, {"Check37", "Microsoft Word", 0}},
               {"excel", "Microsoft Excel", 50, {"Check38", "Microsoft Excel", 1}},
               {"Powerpoint", "Microsoft Powerpoint", 51, {"Check39", "Microsoft PowerPoint", 2}},
               {"FrontPage", "Microsoft FrontPage", 52, {"Check40", "Microsoft FrontPage", 3}},
               {"Access", "Microsoft Access", 0, {"Check36", "Microsoft Access", 4}},
               {"Publisher", "Microsoft Publisher", 0, {"Check102", "Microsoft Publisher", 5}},
               {"InfoPath", "Microsoft InfoPath", 0, {"Check103", "Microsoft InfoPath", 6}},
               {"Project", "Microsoft Project", 53, {"Check104", "Microsoft Project", 7}},
               {"Visio", "Microsoft Visio", 0, {"Check105", "Microsoft Visio", 8}},
               {"Organizer", "Clip Organizer", 0, {"Check106", "Microsoft Clip Organizer", 9}},
               {"Settings",
                "Microsoft Office Settings",
                54,
                {"Check107", "Microsoft Office Save My Settings", 10}},
               {"Picture",
                "Microsoft Office Picture Manager",
                0,
                {"Check108", "Microsoft Office Picture Manager", 11}},
               {"Viewer",
                "Microsoft Snapshot Viewer",
                55,
                {"Check109", "Microsoft Snapshot Viewer", 12}},
           });
}

}  // namespace hm
