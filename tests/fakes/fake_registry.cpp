#include "fakes/fake_registry.h"

#include <cctype>

namespace pravelo::fakes {
namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

FakeRegistry::Key FakeRegistry::MakeKey(RegistryRoot root, std::string_view key, std::string_view name) {
  return {root, Lower(key), Lower(name)};
}

std::optional<std::string> FakeRegistry::Read(RegistryRoot root, std::string_view key, std::string_view name) {
  const RegistryValue* value = Find(root, key, name);
  if (!value) return std::nullopt;
  return value->type == RegistryValue::Type::Dword ? std::to_string(value->dword) : value->text;
}

bool FakeRegistry::WriteString(RegistryRoot root, std::string_view key, std::string_view name,
                               std::string_view value) {
  if (Refused(root)) return false;
  ++writes;
  values_[MakeKey(root, key, name)] = {RegistryValue::Type::String, std::string(value), 0};
  return true;
}

bool FakeRegistry::WriteDword(RegistryRoot root, std::string_view key, std::string_view name, uint32_t value) {
  if (Refused(root)) return false;
  ++writes;
  values_[MakeKey(root, key, name)] = {RegistryValue::Type::Dword, {}, value};
  return true;
}

bool FakeRegistry::DeleteValue(RegistryRoot root, std::string_view key, std::string_view name) {
  if (Refused(root)) return false;
  values_.erase(MakeKey(root, key, name));
  return true;
}

const RegistryValue* FakeRegistry::Find(RegistryRoot root, std::string_view key, std::string_view name) const {
  auto it = values_.find(MakeKey(root, key, name));
  return it == values_.end() ? nullptr : &it->second;
}

std::size_t FakeRegistry::CountUnder(RegistryRoot root, std::string_view key) const {
  std::size_t count = 0;
  for (const auto& [k, v] : values_) {
    if (std::get<0>(k) == root && std::get<1>(k) == Lower(key)) ++count;
  }
  return count;
}

}  // namespace pravelo::fakes
