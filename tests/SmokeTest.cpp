#include "TestSupport.h"
#include "vescene/CVeSceneFactory.h"

using namespace vetest;

class SmokeTest : public SimTest {};

TEST_F(SmokeTest, MainWindowWordOpensItsPage) {
    CVeSceneFactory factory;
    EXPECT_EQ(factory.ProcessM(R"({"text":"打开主窗口","rc":4})", IatAPI_Default, true), ProcessDone);
    EXPECT_EQ(factory.GetScene(), "userself");
    EXPECT_EQ(Readable(EventsOf("VeUI::MainMenu")), std::vector<std::string>{"VeUI::MainMenu(14)"});
}
