#include "game/shell/savenotice.h"

#include "game/utilities/luacommand.h"

namespace {

const char kNoticeScript[] = "scripts/notice.lua";

// The dialog reads its text from gNoticeText.
void QueueNotice(const char* label, const TString& argument) {
    QueueLuaCommand(TString::Format("gNoticeText = GetString( %s, %s ); DoModal( %s );", QuoteLuaString(label).c_str(),
                                    QuoteLuaString(argument).c_str(), QuoteLuaString(kNoticeScript).c_str()));
}

}  // namespace

void NoticeDamagedPlayers(const TString& copyPath) {
    QueueNotice("notice_players_damaged", copyPath);
}

void NoticeFailedSave(const TString& path) {
    QueueNotice("notice_save_failed", path);
}
