#pragma once
// The state of the session as the one JSON object that "info" prints.

#include <string>

namespace kartex {

class Session;

std::string InfoJson(const Session& session);

}  // namespace kartex
