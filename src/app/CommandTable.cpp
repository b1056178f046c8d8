#include "app/CommandTable.h"

#include <algorithm>

#include "document/CommandIds.h"

namespace zandrel::app {

namespace {
constexpr MenuItem kSeparatorItem{nullptr, document::cmd::kSeparator};
constexpr const char* kRecentPrompt = "Apre questo documento";
}  // namespace

const std::vector<CommandInfo>& CommandTable::Commands() {
    using enum CommandOwner;
    static const std::vector<CommandInfo> commands = [] {
        std::vector<CommandInfo> list = {
            {document::cmd::kFileNew, "Crea un nuovo documento.\nNuovo", Application},
            {document::cmd::kFileOpen, "Apre un documento esistente.\nApri", Application},
            {document::cmd::kFileClose, "Chiude il documento attivo.\nChiudi", Application},
            {document::cmd::kFileSave, "Salva il documento attivo.\nSalva", Application},
            {document::cmd::kFileSaveAs,
             "Salva il documento attivo con un nuovo nome.\nSalva con nome", Application},
            // Reachable by Ctrl+P only, and nothing prints: it stays disabled.
            {document::cmd::kFilePrint, "Stampa il documento attivo.\nStampa", Nobody},
            {document::cmd::kEditUndo, "Annulla l'ultima operazione.\nAnnulla", View},
            {document::cmd::kEditCut, "Taglia la selezione e la inserisce negli Appunti.\nTaglia",
             View},
            {document::cmd::kEditCopy, "Copia la selezione e la inserisce negli Appunti.\nCopia",
             View},
            {document::cmd::kEditPaste, "Incolla la selezione contenuta neglia Appunti.\nIncolla",
             View},
            {document::cmd::kMerge,
             "Fonde la selezione contenuta negli Appunti con la zona selezionata.\nMerge", View},
            {document::cmd::kViewToolbar,
             "Mostra o nasconde la barra degli strumenti.\nBarra degli strumenti", Application},
            {document::cmd::kViewStatusBar, "Mostra o nasconde la barra di stato.\nBarra di stato",
             Application},
            {document::cmd::kWindowNew,
             "Apre un'altra finestra per il documento attivo.\nNuova finestra", Application},
            {document::cmd::kWindowCascade,
             "Dispone le finestre in modo che si sovrappongano.\nSovrapponi finestre", Application},
            {document::cmd::kWindowTile,
             "Dispone le finestre senza sovrapporle.\nAffianca finestre", Application},
            {document::cmd::kWindowArrange,
             "Dispone le icone nella parte inferiore della finestra.\nDisponi icone", Application},
            {document::cmd::kViewSolid, "Vista Solid", View},
            {document::cmd::kViewWireframe, "Vista in Wireframe", View},
            {document::cmd::kRaise, "alza la zona selezionata", View},
            {document::cmd::kFlatten, "Spiana la zona selezionata", View},
            {document::cmd::kLevel, "Livella la zona selezionata", View},
            {document::cmd::kLandslide, "Frana la zona selezionata", View},
            {document::cmd::kTilt, "Inclina la zona selezionata", View},
            {document::cmd::kPyramid, nullptr, View},
            {document::cmd::kGoalArea, nullptr, View},
            {document::cmd::kStart, nullptr, View},
            {document::cmd::kEnemies, nullptr, View},
            // The about command has no string of its own: no prompt, no tooltip.
            {document::cmd::kAppAbout, nullptr, Application},
            {document::cmd::kAppExit,
             "Chiude l'applicazione e chiede di salvare i documenti.\nEsci", Application},
            {document::cmd::kNextPane, "Passa al riquadro successivo.\nSuccessivo", Application},
            {document::cmd::kPrevPane, "Torna al riquadro precedente.\nPrecedente", Application},
        };
        for (int id = document::cmd::kFileMru1; id <= document::cmd::kFileMruLast; ++id) {
            list.push_back({id, kRecentPrompt, Application});
        }
        return list;
    }();
    return commands;
}

const CommandInfo* CommandTable::Find(int id) {
    const auto& commands = Commands();
    const auto it = std::find_if(commands.begin(), commands.end(),
                                 [id](const CommandInfo& info) { return info.id == id; });
    return it == commands.end() ? nullptr : &*it;
}

const std::vector<MenuSpec>& CommandTable::NoMapMenus() {
    static const std::vector<MenuSpec> menus = {
        {"&File",
         {{"&Nuovo\tCtrl+N", document::cmd::kFileNew},
          {"&Apri...\tCtrl+O", document::cmd::kFileOpen},
          kSeparatorItem,
          {"File recenti", document::cmd::kFileMru1},
          kSeparatorItem,
          {"&Chiudi", document::cmd::kFileClose},
          {"&Esci", document::cmd::kAppExit}}},
        {"&Visualizza",
         {{"&barra degli strumenti", document::cmd::kViewToolbar},
          {"&barra di stato", document::cmd::kViewStatusBar}}},
        {"&?", {{"&Informazioni su zandrelEditor...", document::cmd::kAppAbout}}},
    };
    return menus;
}

const std::vector<MenuSpec>& CommandTable::MapMenus() {
    static const std::vector<MenuSpec> menus = {
        {"&File",
         {{"&Nuovo\tCtrl+N", document::cmd::kFileNew},
          {"&Apri...\tCtrl+O", document::cmd::kFileOpen},
          {"&Chiudi", document::cmd::kFileClose},
          {"&Salva\tCtrl+S", document::cmd::kFileSave},
          {"Sal&va con nome...", document::cmd::kFileSaveAs},
          kSeparatorItem,
          {"File recenti", document::cmd::kFileMru1},
          kSeparatorItem,
          {"&Esci", document::cmd::kAppExit}}},
        {"&Modifica",
         {{"&Annulla\tCTRL+Z", document::cmd::kEditUndo},
          kSeparatorItem,
          {"Ta&glia\tCTRL+X", document::cmd::kEditCut},
          {"&Copia\tCTRL+C", document::cmd::kEditCopy},
          {"&Incolla\tCTRL+V", document::cmd::kEditPaste},
          {"&Merge\tCTRL+M", document::cmd::kMerge}}},
        {"&Visualizza",
         {{"&barra degli strumenti", document::cmd::kViewToolbar},
          {"&barra di stato", document::cmd::kViewStatusBar}}},
        {"Fi&nestra",
         {{"&Nuova finestra", document::cmd::kWindowNew},
          {"&Sovrapponi", document::cmd::kWindowCascade},
          {"&Affianca", document::cmd::kWindowTile},
          {"&Disponi icone", document::cmd::kWindowArrange}}},
        {"Vi&sta",
         {{"&Solid", document::cmd::kViewSolid}, {"&WireFrame", document::cmd::kViewWireframe}}},
        {"F&unzioni",
         {{"&Alzare", document::cmd::kRaise},
          {"&Spianare", document::cmd::kFlatten},
          {"&Livellare", document::cmd::kLevel},
          {"&Franare", document::cmd::kLandslide},
          {"&Inclinare", document::cmd::kTilt},
          {"Piramide", document::cmd::kPyramid},
          kSeparatorItem,
          {"Area Goal", document::cmd::kGoalArea},
          {"Start", document::cmd::kStart},
          {"Nemici", document::cmd::kEnemies}}},
        {"&?", {{"&Informazioni su zandrelEditor...", document::cmd::kAppAbout}}},
    };
    return menus;
}

const std::vector<Accelerator>& CommandTable::Accelerators() {
    // Ctrl+V and Shift+Ins merge, even though the paste item shows CTRL+V; no key pastes.
    static const std::vector<Accelerator> keys = {
        {"Ctrl+C", document::cmd::kEditCopy},
        {"Ctrl+Ins", document::cmd::kEditCopy},
        {"Shift+Del", document::cmd::kEditCut},
        {"Ctrl+X", document::cmd::kEditCut},
        {"Ctrl+V", document::cmd::kMerge},
        {"Shift+Ins", document::cmd::kMerge},
        {"Alt+Backspace", document::cmd::kEditUndo},
        {"Ctrl+Z", document::cmd::kEditUndo},
        {"Ctrl+N", document::cmd::kFileNew},
        {"Ctrl+O", document::cmd::kFileOpen},
        {"Ctrl+P", document::cmd::kFilePrint},
        {"Ctrl+S", document::cmd::kFileSave},
        {"F6", document::cmd::kNextPane},
        {"Shift+F6", document::cmd::kPrevPane},
        {"Ctrl+M", document::cmd::kMerge},
    };
    return keys;
}

const std::vector<int>& CommandTable::ToolbarLayout() {
    static const std::vector<int> layout = {
        document::cmd::kFileNew,   document::cmd::kFileOpen,  document::cmd::kFileSave,
        document::cmd::kSeparator, document::cmd::kEditCut,   document::cmd::kEditCopy,
        document::cmd::kEditPaste, document::cmd::kMerge,     document::cmd::kSeparator,
        document::cmd::kAppAbout,  document::cmd::kSeparator, document::cmd::kViewWireframe,
        document::cmd::kViewSolid, document::cmd::kSeparator, document::cmd::kFlatten,
        document::cmd::kRaise,     document::cmd::kTilt,      document::cmd::kLevel,
        document::cmd::kLandslide, document::cmd::kPyramid,   document::cmd::kSeparator,
        document::cmd::kStart,     document::cmd::kGoalArea,  document::cmd::kEnemies,
    };
    return layout;
}

}  // namespace zandrel::app
