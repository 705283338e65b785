#include "ActionTable.h"

#include "MainUnit.h"

#include <array>

namespace {

#define ROW(name, ...) TActionRow{&TMain::name, #name, __VA_ARGS__}

const auto rows = std::to_array<TActionRow>({
    ROW(EditCut1, "編集", "切り取り(&T)", "Ctrl+X", "切り取り|選択部分を切り取り、クリップボードに送る", false),
    ROW(EditCopy1, "編集", "コピー(&C)", "Ctrl+C", "コピー|選択範囲をクリップボードにコピー", false),
    ROW(EditPaste1, "編集", "貼り付け(&P)", "Ctrl+V", "貼り付け|クリップボードの内容を貼り付ける", false),
    ROW(EditSelectAll1, "編集", "すべてを選択(&A)", "Ctrl+A", "すべてを選択|ドキュメント全体を選択する", false),
    ROW(EditUndo1, "編集", "元に戻す(&U)", "Ctrl+Z", "元に戻す|直前の変更を元に戻す", false),
    ROW(EditRedo1, "編集", "元に戻すを戻す(&R)", "Ctrl+Shift+Z", "元に戻すを戻す|元に戻したのをやっぱりやめる", false),
    ROW(EditDelete, "編集", "削除(&D)", "", "削除", false),
    ROW(FileNew1, "ファイル", "新規文書作成(&N)", "Ctrl+N", "新規文書作成|現在の文書を終了し新しい文書を作成する", false),
    ROW(FileOpen1, "ファイル", "開く(&O)...", "Ctrl+O", "開く|既存のファイルを開く", false),
    ROW(FileSave1, "ファイル", "上書き保存(&S)", "Ctrl+S", "上書き保存|ファイルを上書き保存する", false),
    ROW(FileSaveAs1, "ファイル", "名前を付けて保存", "", "名前を付けて保存|現在のファイルに新しい名前をつけて保存", false),
    ROW(FileExit1, "ファイル", "終了(&X)", "", "終了|アプリケーションを終了する", false),
    ROW(FileImport1, "ファイル", "インポート(&I)", "", "インポート|OLVEK(おるべく)以外のファイルを取り込む", false),
    ROW(FileImportToChild, "ファイル", "この下にインポート", "", "この下にインポート", false),
    ROW(FileImportToNext, "ファイル", "この後ろにインポート", "", "この後ろにインポート", false),
    ROW(FileExportToText, "ファイル", "テキストファイルに出力(&T)...", "", "テキストファイルに出力", false),
    ROW(FileExportToHTML, "ファイル", "HTML形式で出力(&H)...", "", "HTML形式で出力", false),
    ROW(FileExportToEpub, "ファイル", "EPUB出力(&E)...", "", "EPUB出力", false),
    ROW(FileExportVerticalPdf, "ファイル", "縦書きPDF出力", "", "縦書きPDF出力|縦書きの本の形でPDFファイルに出力する", false),
    ROW(FileExportGenkoPdf, "ファイル", "原稿用紙PDF出力", "", "原稿用紙PDF出力|原稿用紙のマス目に書いてPDFファイルに出力する", false),
    ROW(FilePrint, "ファイル", "印刷(&P)...", "Ctrl+P", "印刷", false),
    ROW(FilePlugin, "ファイル", "プラグイン...", "", "", false),
    ROW(Find, "検索", "検索(&S)...", "Ctrl+F", "検索", false),
    ROW(FindPrev, "検索", "前を検索(&P)", "Shift+F3", "前を検索", false),
    ROW(FindNext, "検索", "次を検索(&N)", "F3", "次を検索", false),
    ROW(FindReplace, "検索", "置換(&R)...", "Ctrl+R", "置換", false),
    ROW(TreeInsertNode, "ツリー", "すぐ前に追加(&I)", "Ctrl+I", "すぐ前に追加", false),
    ROW(TreeAddNode, "ツリー", "すぐ後ろに追加(&A)", "Ctrl+K", "すぐ後ろに追加", false),
    ROW(TreeAddChildNode, "ツリー", "下の階層に追加(&C)", "Ctrl+L", "下の階層に追加", false),
    ROW(TreeDeleteNode, "ツリー", "現在の項目を削除(&D)", "Ctrl+D", "現在の項目を削除", true),
    ROW(TreeNodeMoveLeft, "ツリー", "階層を上げる(&L)", "Ctrl+Shift+Left", "階層を上げる", true),
    ROW(TreeNodeMoveRight, "ツリー", "階層を下げる(&R)", "Ctrl+Shift+Right", "階層を下げる", true),
    ROW(TreeNodeMoveUp, "ツリー", "一つ前へ移動(&P)", "Ctrl+Shift+Up", "一つ前へ移動", true),
    ROW(TreeNodeMoveDown, "ツリー", "一つ後ろへ移動(&N)", "Ctrl+Shift+Down", "一つ後ろへ移動", true),
    ROW(TreeClearTrash, "ツリー", "ゴミ箱を空に(&T)", "", "ゴミ箱を空に", false),
    ROW(TreeAllNodeOpen, "ツリー", "全てのノードを開く", "", "全てのノードを開く", false),
    ROW(TreeAllNodeClose, "ツリー", "全てのノードを閉じる", "", "全てのノードを閉じる", false),
    ROW(TreeMakeNodeToMainFolder, "ツリー", "メインフォルダに作成", "", "メインフォルダに作成", false),
    ROW(TreeMakeNodeToCurrentNode, "ツリー", "選択している項目の下に作成", "", "選択している項目の下に作成", false),
    ROW(TreeMakeNodeToWorkFolder, "ツリー", "作業フォルダに作成", "", "作業フォルダに作成", false),
    ROW(ViewChangeDisplayMode, "表示", "表示切り替え(&V)", "F11", "表示切り替え", false),
    ROW(ViewShowNavigator, "表示", "ナビゲーター", "", "ナビゲーターを表示", false),
    ROW(ViewShowEditor, "表示", "エディタ", "", "エディタを表示", false),
    ROW(ViewShowTree, "表示", "ツリー表示", "", "ツリーを表示", false),
    ROW(ViewShowMakeNodes, "表示", "項目作成", "", "項目作成", false),
    ROW(ViewShowFileOption, "表示", "文書情報", "", "文書情報を表示", false),
    ROW(ViewModeChange, "表示", "モード切替", "F5", "モード切替", false),
    ROW(ViewShowNaviWhenLumeno, "表示", "ナビゲーター表示", "F6", "ナビゲーターを表示", false),
    ROW(ViewViewerOpen, "表示", "ビューワを表示", "", "ビューワを表示", false),
    ROW(ViewThemeLight, "表示", "明るい", "", "明るい", false),
    ROW(ViewThemeDark, "表示", "暗い", "", "暗い", false),
    ROW(ViewThemeSystem, "表示", "デスクトップに合わせる", "", "デスクトップに合わせる", false),
    ROW(ViewFocusMode, "表示", "集中モード", "Shift+F11", "集中モード", false),
    ROW(ViewDocumentCount, "表示", "文書全体の文字数", "", "文書全体の文字数", false),
    ROW(ViewCountTarget, "表示", "目標の設定...", "", "目標の設定", false),
    ROW(ViewVerticalPreview, "表示", "縦書きプレビュー", "F4", "縦書きプレビュー|エディタの右に縦書きで表示する", false),
    ROW(OptionSetting, "設定", "環境設定(&O)...", "", "環境設定", false),
    ROW(OptionPlugin, "設定", "プラグイン設定(&P)...", "", "プラグイン設定", false),
    ROW(HelpTopic, "ヘルプ", "ヘルプトピック(&H)", "", "ヘルプ", false),
    ROW(HelpWeb, "ヘルプ", "ホームページ(&W)", "", "ホームページ", false),
    ROW(HelpAbout, "ヘルプ", "バージョン情報(&A)...", "", "バージョン情報", false),
});

#undef ROW

} // namespace

std::span<const TActionRow> actionTable()
{
    return rows;
}
