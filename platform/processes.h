// The processes running on the machine and the programs they run, so that a pass can leave alone
// the files of a program that holds them open.
#pragma once

#include <string>
#include <vector>

namespace hm {

// One running process. Plain data with no Win32 in it, so that rules about processes can be
// tested anywhere.
struct ProcessImage {
    std::string fileName;  // the program's file name, always known ("firefox.exe")
    // The program's full path ("C:\Program Files\Mozilla Firefox\firefox.exe"); empty when the
    // process may not be asked (the system's own, some of other users'). UTF-8.
    std::string path;
};

// Every process but the calling one. Empty when the system would not list them.
std::vector<ProcessImage> RunningProcesses();

}  // namespace hm
