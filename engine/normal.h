// General routines of the cleaning items that touch the system: the profile folder from the
// environment, the Office generation, opening a document, the open-file dialog's selection.
// Deleting a file at the next restart is an erase operation (Eraser::DeleteAtReboot).
#pragma once

#include <string>

#include "engine/normal_rules.h"

namespace hm {

class OfficeProbe;

// The value of an environment variable of this process; empty when it is unset.
std::string EnvironmentValue(const std::string& name);

// ExpandUserProfile with the USERPROFILE variable of this process (empty when it is unset,
// which leaves a relative path that the erase operations refuse).
std::string ExpandUserProfile(const std::string& text);

// The generation named by what the probe saw.
std::string GetOfficeVersion(OfficeProbe& probe);

// Opens a file, folder or web address with its associated program; failures go unnoticed.
void OpenDocument(const std::string& target);

// ParseFileSelection with the process's current folder.
FileSelection ParseFileSelection(const std::string& dialogText);

}  // namespace hm
