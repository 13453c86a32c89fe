#pragma once
// The five registries: a name to a new scene, or nullptr when the name is not a key.
// Keys compare exactly and case-sensitively.
#include <memory>
#include <string>

#include "scenes/base/VeBasicService.h"

std::unique_ptr<VeBasicService> MakeSemanticScene(const std::string& name);
std::unique_ptr<VeBasicService> MakeTppScene(const std::string& name);
std::unique_ptr<VeBasicService> MakeOnlineScene(const std::string& name);
std::unique_ptr<VeBasicService> MakeSlideShowPenScene(const std::string& name);
std::unique_ptr<VeBasicService> MakeNormalPenScene(const std::string& name);
