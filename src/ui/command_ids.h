#pragma once

// The ids of the main window's commands and menus: each action's and menu's objectName, as the
// command table gives it, so code and tests name a command by what it does.
namespace qf::cmd {

inline constexpr char kNew[] = "QFM101";
inline constexpr char kOpen[] = "QFM102";
inline constexpr char kSave[] = "QFM104";
inline constexpr char kSaveAs[] = "QFM105";
inline constexpr char kPrint[] = "QFM107";
inline constexpr char kPrintPreview[] = "QFM113";
inline constexpr char kExportPdf[] = "QFM114";
inline constexpr char kExportImage[] = "QFM115";
inline constexpr char kExportSvg[] = "QFM116";
inline constexpr char kMergeData[] = "QFM117";
inline constexpr char kRecentSeparator[] = "QFM108";
inline constexpr char kRecentFiles[] = "QFM109";
inline constexpr char kExit[] = "QFM199";
inline constexpr char kDesignWindow[] = "QFM201";
inline constexpr char kCodeWindow[] = "QFM202";
inline constexpr char kSourceWindow[] = "QFM203";
inline constexpr char kLayerWindow[] = "QFM205";
inline constexpr char kShowGrid[] = "QFM204";
inline constexpr char kWholePage[] = "QFM208";
inline constexpr char kPageWidth[] = "QFM209";
inline constexpr char kRulers[] = "QFM210";
inline constexpr char kLayoutToolbar[] = "QFM207";
inline constexpr char kUndo[] = "QFM311";
inline constexpr char kRedo[] = "QFM312";
inline constexpr char kCut[] = "QFM301";
inline constexpr char kCopy[] = "QFM302";
inline constexpr char kPaste[] = "QFM303";
inline constexpr char kSelectAll[] = "QFM304";
inline constexpr char kAlignLeft[] = "QFM601";
inline constexpr char kAlignRight[] = "QFM602";
inline constexpr char kAlignTop[] = "QFM603";
inline constexpr char kAlignBottom[] = "QFM604";
inline constexpr char kCentreAcross[] = "QFM605";
inline constexpr char kCentreDown[] = "QFM606";
inline constexpr char kSpaceAcross[] = "QFM607";
inline constexpr char kSpaceDown[] = "QFM608";
inline constexpr char kSameWidth[] = "QFM609";
inline constexpr char kSameHeight[] = "QFM610";
inline constexpr char kToFront[] = "QFM611";
inline constexpr char kToBack[] = "QFM612";
inline constexpr char kForward[] = "QFM613";
inline constexpr char kBackward[] = "QFM614";
inline constexpr char kPageSetup[] = "QFM401";
inline constexpr char kGridSettings[] = "QFM402";
inline constexpr char kHatchColours[] = "QFM406";
inline constexpr char kSnapToGrid[] = "QFM403";
inline constexpr char kSnapToObjects[] = "QFM409";
inline constexpr char kAutoRedraw[] = "QFM404";
inline constexpr char kSubroutines[] = "QFM405";
inline constexpr char kFileAssociation[] = "QFM410";
inline constexpr char kHelp[] = "QFM501";
inline constexpr char kAbout[] = "QFM503";
inline constexpr char kLayoutMenu[] = "QFM600";
inline constexpr char kPopupMenu[] = "QFM000";

// The toolbar's buttons, named by their place on it (separators counted), as forms know them.
inline constexpr char kToolNew[] = "tblMenu1";
inline constexpr char kToolOpen[] = "tblMenu2";
inline constexpr char kToolSave[] = "tblMenu3";
inline constexpr char kToolPrint[] = "tblMenu5";
inline constexpr char kToolPreview[] = "tblPreview";
inline constexpr char kToolText[] = "tblMenu7";
inline constexpr char kToolLine[] = "tblMenu8";
inline constexpr char kToolBox[] = "tblMenu9";
inline constexpr char kToolRing[] = "tblMenu10";
inline constexpr char kToolPicture[] = "tblMenu11";
inline constexpr char kToolCommand[] = "tblMenu12";
inline constexpr char kToolBarcode[] = "tblMenu17";
inline constexpr char kToolSource[] = "tblMenu14";
inline constexpr char kToolPageSetup[] = "tblMenu15";
inline constexpr char kToolRedraw[] = "tblMenu16";

}  // namespace qf::cmd
