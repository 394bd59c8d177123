#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace qf {

inline constexpr std::string_view kAppTitle = "Quillform";
inline constexpr std::string_view kVersionText = "2.05.0004";

inline constexpr std::string_view kMsgDiscard = "編集中のデータを破棄しますか？";
inline constexpr std::string_view kMsgReadFailed = "ファイルの読込みに失敗しました。";
inline constexpr std::string_view kMsgWriteFailed = "ファイルの書込みに失敗しました。";
inline constexpr std::string_view kMsgPrintConfirm = "印刷を行います。よろしいですか？";
inline constexpr std::string_view kMsgAssocRegistered =
    "ファイルの関連付けは正常に登録されました。";
inline constexpr std::string_view kMsgAssocRegisterFailed =
    "ファイルの関連付け登録に失敗しました。";
inline constexpr std::string_view kMsgAssocRemoved = "ファイルの関連付けは正常に解除されました。";
inline constexpr std::string_view kMsgAssocRemoveFailed = "ファイルの関連付け解除に失敗しました。";
inline constexpr std::string_view kMsgBaseLayer = "ベースレイヤーは削除できません。";
inline constexpr std::string_view kMsgDeleteLayer = "を削除します。よろしいですか？";
// %1: the picture's format. The design keeps the file; the generated program cannot load it.
inline constexpr std::string_view kMsgPictureFormat =
    "%1 形式の画像は、生成したプログラムの LoadPicture では読み込めません（BMP、GIF、JPEG "
    "のみ）。デザインにはこのまま取り込みます。";

// Guide texts of the status bar.
inline constexpr std::string_view kGuideSelected =
    "オブジェクト選択中：[Delete]キーでオブジェクトの削除";
inline constexpr std::string_view kGuideInsertMode = "挿入モード中：オブジェクトを追加して下さい。";
inline constexpr std::string_view kGuideSwap = "入替先の行をクリックして下さい。";
inline constexpr std::string_view kGuideBlock = "ブロック選択中：[Delete]キーでオブジェクトの削除";

inline constexpr std::string_view kFileFilter =
    "Quillformﾌｧｲﾙ(*.qfd,*.qff)|*.qfd;*.qff|全てのﾌｧｲﾙ(*.*)|*.*";

// The zoom a text of the zoom box stands for: the number at its start, rounded (0 when none).
int ZoomFromText(std::string_view text);
// What Enter makes of the typed text: without "%", values above 300 become 300 and the text is
// rewritten as a whole number followed by "%"; a text with "%" stays as typed.
std::string ZoomEnterText(std::string_view typed);

// The zoom box's next step from `zoom`: the smallest listed zoom above it (in), or the largest
// below it (out); the end of the list when there is none.
int NextZoomStep(int zoom, bool in);
// The zoom box's list, smallest first (the box shows it largest first, with "%").
inline constexpr int kZoomSteps[] = {10, 30, 50, 70, 80, 90, 100, 200, 300};

// "QF" and the month, day, hour and minute, two digits each, then ".qfd".
std::string DefaultDesignName(const std::tm& when);

}  // namespace qf
