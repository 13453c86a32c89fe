// The exported C++ factory of an installed VeScene, for hosts built with the same toolchain.
#include <cstdio>
#include <string>

#include "vescene/CVeSceneFactory.h"
#include "vescene/vescene.h"

int main() {
    VeScene_SetEndpoint("online", "http://127.0.0.1:9");
    VeScene_SetEndpoint("songsearch", "http://127.0.0.1:9");
    VeProcessState state;
    std::string scene, text;
    {
        CVeSceneFactory factory;
        state = factory.ProcessM(R"({"text":"下载微信","rc":4})", IatAPI_Default, true);
        CVeSceneFactory copy(factory);
        scene = copy.GetScene();
        text = copy.GetText_utf8();
    }
    CVeSceneFactory::Release();
    std::printf("CVeSceneFactory::ProcessM -> %d  scene \"%s\"  text \"%s\"\n", state, scene.c_str(), text.c_str());
    const bool ok = state == ProcessDone && scene == "application" && text == "下载微信";
    std::puts(ok ? "consumer_cxx: ok" : "consumer_cxx: FAILED");
    return ok ? 0 : 1;
}
