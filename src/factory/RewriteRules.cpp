#include "factory/RewriteRules.h"

#include <algorithm>
#include <vector>

#include "core/LazyTable.h"
#include "host/DataFactory.h"
#include "host/TextMatch.h"
#include "host/VeChar.h"
#include "host/VeDecrypt.h"
#include "host/VeUI.h"
#include "platform/TextCodec.h"
#include "scenes/shared/DataTables.h"
#include "scenes/shared/SearchVerbs.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return ContainsGbk(text, part); }

using Titles = std::vector<std::string>;

const Titles& FilmTitles() {
    static LazyTable<Titles> titles;
    return titles.Get([](Titles& fresh) { VeDecrypt::EncryptFile_2_vector("veovie.clx", "DornikHalbFilm", fresh); });
}

const Titles& SongTitles() {
    static LazyTable<Titles> titles;
    return titles.Get([](Titles& fresh) { VeDecrypt::EncryptFile_2_vector("veusic.clx", "DornikHalbTune", fresh); });
}

bool IsTitle(const Titles& titles, const std::string& text) {
    return std::find(titles.begin(), titles.end(), text) != titles.end();
}

}  // namespace

bool RewriteSoftware(const std::string& gbkText, VeJson& doc) {
    const auto& software = GetSoftDownloadTable();
    CPreferences::Data()->SetNormal(true);

    struct Group {
        std::vector<const std::string*> triggers;
        const std::string* action;
    };
    const Group groups[] = {
        {{&GBK("退出"), &GBK("关闭")}, &GBK("关闭")},
        {{&GBK("下载"), &GBK("安装")}, &GBK("下载")},
        {{&GBK("卸载")}, &GBK("卸载")},
        {{&GBK("打开")}, &GBK("打开")},
    };
    for (const auto& group : groups) {
        bool triggered = std::any_of(group.triggers.begin(), group.triggers.end(),
                                     [&](const std::string* word) { return Contains(gbkText, *word); });
        if (!triggered) continue;
        // The longest name said: QQ音乐 is not QQ.
        const std::string* said = nullptr;
        for (const auto& [name, url] : software)
            if (!name.empty() && Contains(gbkText, name) && (!said || name.size() > said->size())) said = &name;
        if (said) {
            const std::string& name = *said;
            doc.Insert("semantic^slots^name", "application", "semantic^slots^value", name);
            doc.Insert("semantic^slots^name", "action", "semantic^slots^normValue", *group.action);
            // Without a service of its own the text would reach no scene.
            if (doc.Get("service").empty()) doc.Insert("service", "application");
            return true;
        }
    }
    return false;
}

bool RewriteTrainTicket(const std::string& gbkText, VeJson& doc) {
    if (!Contains(gbkText, GBK("火车票")) && !Contains(gbkText, GBK("动车票"))) return false;
    doc.Insert("service", "train");
    return true;
}

bool RewriteWebSearch(const std::string& gbkText, VeJson& doc) {
    // List order decides, not the position in the text.
    for (const auto& phrase : WebSearchVerbs()) {
        size_t at = FindGbk(gbkText, phrase);
        if (at == std::string::npos) continue;
        doc.Insert("velmoraKeyword", gbkText.substr(at + phrase.size()));
        doc.Insert("service", "baidusearch");
        return true;
    }
    return false;
}

bool RewriteFilmTitle(const std::string& gbkText, VeJson& doc) {
    if (!IsTitle(FilmTitles(), gbkText)) return false;
    doc.Insert("semantic^slots^name", "video", "semantic^slots^value", gbkText);
    doc.Insert("semantic^intent", "video");
    doc.Insert("service", "VELMORA.video");
    return true;
}

bool RewriteSongTitle(const std::string& gbkText, VeJson& doc) {
    if (!IsTitle(SongTitles(), gbkText)) return false;
    doc.Insert("semantic^slots^name", "song", "semantic^slots^value", gbkText);
    doc.Insert("service", "VELMORA.music");
    return true;
}

bool CheckMainMenuWord(const CString& text, LogType& logType) {
    static constexpr struct {
        const char16_t* word;
        MainMenuType page;
    } kWords[] = {
        {u"打开主窗口", MainMenu_Log},          {u"日志", MainMenu_Log},
        {u"个人命令", MainMenu_UserCommands},   {u"用户自定义", MainMenu_UserCommands},
        {u"录音转文字", MainMenu_RecordToText}, {u"个人热词", MainMenu_HotWords},
    };
    for (const auto& entry : kWords) {
        if (text.Compare(entry.word) != 0) continue;
        VeUI::MainMenu(entry.page);
        logType = LogType_MainMenuWord;
        return true;
    }
    return false;
}
