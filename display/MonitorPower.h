// TurnOffMonitors: asks every monitor to switch off.
#pragma once

void TurnOffMonitors();
