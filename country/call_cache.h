#pragma once
// The matches of the calls of one command, so that each distinct call text
// is resolved once however many rows hold it.

#include <string_view>
#include <unordered_map>

#include "country/call_resolver.h"

namespace kartex {

// The texts looked up are kept by reference: they must stay unchanged while
// the cache lives (cells of a table that is not written meanwhile).
class CallCache {
 public:
  explicit CallCache(const CallResolver& resolver) : resolver_(resolver) {}

  const CallMatch& Match(std::string_view call) {
    const auto [entry, added] = matches_.try_emplace(call);
    if (added) entry->second = resolver_.Match(call);
    return entry->second;
  }

 private:
  const CallResolver& resolver_;
  std::unordered_map<std::string_view, CallMatch> matches_;
};

}  // namespace kartex
