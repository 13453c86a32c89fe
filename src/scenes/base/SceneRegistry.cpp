#include "scenes/base/SceneRegistry.h"

#include <initializer_list>
#include <string_view>

#include "scenes/semantic/VeJsonBaiduSearch.h"
#include "scenes/semantic/VeJsonOpenQA.h"

namespace {

using Maker = std::unique_ptr<VeBasicService> (*)();

struct SceneKey {
    std::string_view key;
    Maker make;
};

template <typename Scene>
std::unique_ptr<VeBasicService> Make() {
    return std::make_unique<Scene>();
}

std::unique_ptr<VeBasicService> Lookup(std::initializer_list<SceneKey> keys, const std::string& name) {
    for (const auto& entry : keys) {
        if (entry.key == name) {
            auto scene = entry.make();
            scene->m_stdService = name;
            return scene;
        }
    }
    return nullptr;
}

}  // namespace

// Tested in table order; the first key that equals the name wins.
std::unique_ptr<VeBasicService> MakeSemanticScene(const std::string& name) {
    return Lookup(
        {
            {"baidusearch", Make<VeJsonBaiduSearch>},
            {"websearch", Make<VeJsonBaiduSearch>},
            {"openQA", Make<VeJsonOpenQA>},
        },
        name);
}

std::unique_ptr<VeBasicService> MakeTppScene(const std::string& name) { return Lookup({}, name); }

std::unique_ptr<VeBasicService> MakeOnlineScene(const std::string& name) { return Lookup({}, name); }

std::unique_ptr<VeBasicService> MakeSlideShowPenScene(const std::string& name) { return Lookup({}, name); }

std::unique_ptr<VeBasicService> MakeNormalPenScene(const std::string& name) { return Lookup({}, name); }
