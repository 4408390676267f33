// The aria2 hand-off command of the main window and the command line.
#pragma once

#include <string>

#include "commands/save_commands.h"
#include "export/aria2_rpc.h"
#include "state/form1.h"

namespace vendil {

HandOffResult SendToAria2(Form1& form, const std::string& strFolder, const Aria2Endpoint& endpoint);
void SendToAria2(Form1& form, const std::string& strFolder);

}  // namespace vendil
