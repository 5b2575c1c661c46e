// A stand-in for a running browser: hm_db_holder.exe (built with the tests, beside them), copied
// to where a browser keeps its program and under that program's name, started on a database that
// it then holds locked as the browser would.
#pragma once

#include <windows.h>

#include <string>

namespace hm::test {

// The holder copied into a folder (of the sandbox's C: drive); the file, and the folders made
// for it, go again with the object.
class PlacedProgram {
public:
    PlacedProgram(const std::string& folder, const std::string& name);
    ~PlacedProgram();
    PlacedProgram(const PlacedProgram&) = delete;
    PlacedProgram& operator=(const PlacedProgram&) = delete;

    const std::string& path() const { return path_; }
    bool copied() const { return copied_; }

private:
    std::string path_;
    std::string madeFolder_;
    bool copied_ = false;
};

// A running holder: the constructor returns once it holds the database (ready()) or has given
// up (said() tells why). The database must exist; the holder lets go by itself after 60 s at
// the latest. Ended when the object goes, whatever the test asserted: its input is closed, and
// if it has not gone within a few seconds it is terminated.
class Holder {
public:
    Holder(const std::string& program, const std::string& database);
    ~Holder() { End(); }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    bool ready() const { return said_.rfind("ready", 0) == 0; }
    const std::string& said() const { return said_; }

    // Closes its input and waits for it to go; true when it went by itself.
    bool End();

private:
    HANDLE process_ = nullptr;
    HANDLE input_ = nullptr;
    HANDLE output_ = nullptr;
    std::string said_;
};

}  // namespace hm::test
