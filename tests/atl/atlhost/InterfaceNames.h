// Readable names of the interfaces a container and a control ask each other for.
#pragma once
#include <guiddef.h>

#include <string>

std::string InterfaceName(REFIID iid);
