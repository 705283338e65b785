#pragma once

#include <vector>

class TOlvekEditor;

// Types keys keys ("あ", press and release, and the events they cause) into editor, appending
// each key's CPU and wall-clock time in milliseconds to cpu and wall.
void typeKeys(TOlvekEditor &editor, int keys, std::vector<double> &cpu, std::vector<double> &wall);
