#include "app/CommandTable.h"

#include <algorithm>

#include "document/CommandIds.h"

namespace zandrel::app {

namespace {
constexpr MenuItem kSeparatorItem{nullptr, cmd::kSeparator};
constexpr const char* kRecentPrompt = "Apre questo documento";
}  // namespace

const std::vector<CommandInfo>& CommandTable::Commands() {
    using enum CommandOwner;
    static const std::vector<CommandInfo> commands = [] {
        std::vector<CommandInfo> list = {
            {cmd::kFileNew, "Crea un nuovo documento.\nNuovo", Application},
            {cmd::kFileOpen, "Apre un documento esistente.\nApri", Application},
            {cmd::kFileClose, "Chiude il documento attivo.\nChiudi", Application},
            {cmd::kFileSave, "Salva il documento attivo.\nSalva", Application},
            {cmd::kFileSaveAs, "Salva il documento attivo con un nuovo nome.\nSalva con nome",
             Application},
            {cmd::kFileExportImage,
             "Salva come immagine PNG la vista 3D attiva, alle sue dimensioni.\nEsporta immagine",
             Application},
            {cmd::kFileImportHeightmap,
             "Imposta le altezze della mappa da un'immagine PNG in scala di grigi, con "
             "l'intervallo salvato nel file, altrimenti quello attuale della mappa (da 0 a 1 se è "
             "piana).\nImporta heightmap",
             Application},
            // Reachable by Ctrl+P only, and nothing prints: it stays disabled.
            {cmd::kFilePrint, "Stampa il documento attivo.\nStampa", Nobody},
            {cmd::kEditUndo, "Annulla l'ultima operazione.\nAnnulla", View},
            {cmd::kEditCut, "Taglia la selezione e la inserisce negli Appunti.\nTaglia", View},
            {cmd::kEditCopy, "Copia la selezione e la inserisce negli Appunti.\nCopia", View},
            {cmd::kEditPaste, "Incolla la selezione contenuta neglia Appunti.\nIncolla", View},
            {cmd::kMerge,
             "Fonde la selezione contenuta negli Appunti con la zona selezionata.\nMerge", View},
            {cmd::kRotateClipboard,
             "Ruota di un quarto di giro il blocco contenuto negli Appunti.\nRuota appunti", View},
            {cmd::kFlipClipboardX,
             "Rovescia il blocco contenuto negli Appunti da est a ovest.\nRifletti appunti in X",
             View},
            {cmd::kFlipClipboardZ,
             "Rovescia il blocco contenuto negli Appunti da nord a sud.\nRifletti appunti in Z",
             View},
            {cmd::kViewToolbar,
             "Mostra o nasconde la barra degli strumenti.\nBarra degli strumenti", Application},
            {cmd::kViewStatusBar, "Mostra o nasconde la barra di stato.\nBarra di stato",
             Application},
            {cmd::kWindowNew, "Apre un'altra finestra per il documento attivo.\nNuova finestra",
             Application},
            {cmd::kWindowCascade,
             "Dispone le finestre in modo che si sovrappongano.\nSovrapponi finestre", Application},
            {cmd::kWindowTile, "Dispone le finestre senza sovrapporle.\nAffianca finestre",
             Application},
            {cmd::kWindowArrange,
             "Dispone le icone nella parte inferiore della finestra.\nDisponi icone", Application},
            {cmd::kViewSolid, "Vista Solid", View},
            {cmd::kViewWireframe, "Vista in Wireframe", View},
            {cmd::kViewRelief,
             "Illumina il terreno da dietro la telecamera per mostrarne i pendii.\nRilievo", View},
            {cmd::kViewGrid, "Mostra i bordi delle celle sul terreno.\nGriglia", View},
            {cmd::kViewContours,
             "Mostra le curve di livello a ogni unità di altezza.\nCurve di livello", View},
            {cmd::kViewTintHeight, "Colora il terreno secondo l'altezza.\nColori per altezza",
             View},
            {cmd::kViewTintGravity, "Colora il terreno secondo la gravità.\nColori per gravità",
             View},
            {cmd::kViewTintFriction, "Colora il terreno secondo l'attrito.\nColori per attrito",
             View},
            {cmd::kViewOverview,
             "Mostra o nasconde la mappa vista dall'alto, con la selezione e la zona inquadrata; "
             "un clic seleziona una cella.\nPanoramica",
             Application},
            {cmd::kViewHistory,
             "Mostra o nasconde l'elenco delle modifiche alla mappa; un doppio clic torna allo "
             "stato dopo una di esse.\nCronologia",
             Application},
            {cmd::kRaise, "alza la zona selezionata", View},
            {cmd::kFlatten, "Spiana la zona selezionata", View},
            {cmd::kLevel, "Livella la zona selezionata", View},
            {cmd::kLandslide, "Frana la zona selezionata", View},
            {cmd::kTilt, "Inclina la zona selezionata", View},
            {cmd::kPyramid, nullptr, View},
            {cmd::kGoalArea, nullptr, View},
            {cmd::kStart, nullptr, View},
            {cmd::kEnemies, nullptr, View},
            {cmd::kBrushTile,
             "Trascinando col tasto sinistro dipinge la texture scelta sui tile delle "
             "celle.\nPennello tile",
             View},
            {cmd::kBrushWall,
             "Trascinando col tasto sinistro dipinge la texture scelta sui muri delle "
             "celle.\nPennello wall",
             View},
            {cmd::kMapSize,
             "Cambia le dimensioni della mappa, tenendo fermo un angolo o un lato.\nDimensioni "
             "mappa",
             Application},
            {cmd::kMapCheck,
             "Controlla se la mappa è adatta al gioco ed elenca i problemi.\nVerifica mappa",
             Application},
            // The about command has no string of its own: no prompt, no tooltip.
            {cmd::kAppAbout, nullptr, Application},
            {cmd::kAppExit, "Chiude l'applicazione e chiede di salvare i documenti.\nEsci",
             Application},
            {cmd::kNextPane, "Passa al riquadro successivo.\nSuccessivo", Application},
            {cmd::kPrevPane, "Torna al riquadro precedente.\nPrecedente", Application},
        };
        for (int id = cmd::kFileMru1; id <= cmd::kFileMruLast; ++id) {
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

const std::vector<MenuDefinition>& CommandTable::NoMapMenus() {
    static const std::vector<MenuDefinition> menus = {
        {"&File",
         {{"&Nuovo\tCtrl+N", cmd::kFileNew},
          {"&Apri...\tCtrl+O", cmd::kFileOpen},
          kSeparatorItem,
          {"File recenti", cmd::kFileMru1},
          kSeparatorItem,
          {"&Chiudi", cmd::kFileClose},
          {"&Esci", cmd::kAppExit}}},
        {"&Visualizza",
         {{"&barra degli strumenti", cmd::kViewToolbar}, {"&barra di stato", cmd::kViewStatusBar}}},
        {"&?", {{"&Informazioni su zandrelEditor...", cmd::kAppAbout}}},
    };
    return menus;
}

const std::vector<MenuDefinition>& CommandTable::MapMenus() {
    static const std::vector<MenuDefinition> menus = {
        {"&File",
         {{"&Nuovo\tCtrl+N", cmd::kFileNew},
          {"&Apri...\tCtrl+O", cmd::kFileOpen},
          {"&Chiudi", cmd::kFileClose},
          {"&Salva\tCtrl+S", cmd::kFileSave},
          {"Sal&va con nome...", cmd::kFileSaveAs},
          {"Esporta &immagine...", cmd::kFileExportImage},
          {"Importa &heightmap...", cmd::kFileImportHeightmap},
          kSeparatorItem,
          {"File recenti", cmd::kFileMru1},
          kSeparatorItem,
          {"&Esci", cmd::kAppExit}}},
        {"&Modifica",
         {{"&Annulla\tCTRL+Z", cmd::kEditUndo},
          kSeparatorItem,
          {"Ta&glia\tCTRL+X", cmd::kEditCut},
          {"&Copia\tCTRL+C", cmd::kEditCopy},
          {"&Incolla\tCTRL+V", cmd::kEditPaste},
          {"&Merge\tCTRL+M", cmd::kMerge},
          {"&Ruota appunti\tCTRL+R", cmd::kRotateClipboard},
          {"Rifletti appunti in &X", cmd::kFlipClipboardX},
          {"Rifletti appunti in &Z", cmd::kFlipClipboardZ}}},
        {"&Visualizza",
         {{"&barra degli strumenti", cmd::kViewToolbar}, {"&barra di stato", cmd::kViewStatusBar}}},
        {"Fi&nestra",
         {{"&Nuova finestra", cmd::kWindowNew},
          {"&Sovrapponi", cmd::kWindowCascade},
          {"&Affianca", cmd::kWindowTile},
          {"&Disponi icone", cmd::kWindowArrange}}},
        {"Vi&sta",
         {{"&Solid", cmd::kViewSolid},
          {"&WireFrame", cmd::kViewWireframe},
          kSeparatorItem,
          {"&Rilievo", cmd::kViewRelief},
          {"&Griglia", cmd::kViewGrid},
          {"&Curve di livello", cmd::kViewContours},
          {"Colori per &altezza", cmd::kViewTintHeight},
          {"Colori per &gravità", cmd::kViewTintGravity},
          {"Colori per a&ttrito", cmd::kViewTintFriction},
          kSeparatorItem,
          {"&Panoramica", cmd::kViewOverview},
          {"Cro&nologia", cmd::kViewHistory}}},
        {"F&unzioni",
         {{"&Alzare", cmd::kRaise},
          {"&Spianare", cmd::kFlatten},
          {"&Livellare", cmd::kLevel},
          {"&Franare", cmd::kLandslide},
          {"&Inclinare", cmd::kTilt},
          {"Piramide", cmd::kPyramid},
          kSeparatorItem,
          {"Area Goal", cmd::kGoalArea},
          {"Start", cmd::kStart},
          {"Nemici", cmd::kEnemies},
          kSeparatorItem,
          {"Pennello &tile", cmd::kBrushTile},
          {"Pennello &wall", cmd::kBrushWall},
          kSeparatorItem,
          {"&Dimensioni mappa...", cmd::kMapSize},
          {"Verifica mappa", cmd::kMapCheck}}},
        {"&?", {{"&Informazioni su zandrelEditor...", cmd::kAppAbout}}},
    };
    return menus;
}

const std::vector<Accelerator>& CommandTable::Accelerators() {
    // Ctrl+V and Shift+Ins merge, even though the paste item shows CTRL+V; no key pastes.
    static const std::vector<Accelerator> keys = {
        {"Ctrl+C", cmd::kEditCopy},
        {"Ctrl+Ins", cmd::kEditCopy},
        {"Shift+Del", cmd::kEditCut},
        {"Ctrl+X", cmd::kEditCut},
        {"Ctrl+V", cmd::kMerge},
        {"Shift+Ins", cmd::kMerge},
        {"Alt+Backspace", cmd::kEditUndo},
        {"Ctrl+Z", cmd::kEditUndo},
        {"Ctrl+N", cmd::kFileNew},
        {"Ctrl+O", cmd::kFileOpen},
        {"Ctrl+P", cmd::kFilePrint},
        {"Ctrl+S", cmd::kFileSave},
        {"F6", cmd::kNextPane},
        {"Shift+F6", cmd::kPrevPane},
        {"Ctrl+M", cmd::kMerge},
        {"Ctrl+R", cmd::kRotateClipboard},
    };
    return keys;
}

const std::vector<int>& CommandTable::ToolbarLayout() {
    static const std::vector<int> layout = {
        cmd::kFileNew,   cmd::kFileOpen,      cmd::kFileSave,  cmd::kSeparator, cmd::kEditCut,
        cmd::kEditCopy,  cmd::kEditPaste,     cmd::kMerge,     cmd::kSeparator, cmd::kAppAbout,
        cmd::kSeparator, cmd::kViewWireframe, cmd::kViewSolid, cmd::kSeparator, cmd::kFlatten,
        cmd::kRaise,     cmd::kTilt,          cmd::kLevel,     cmd::kLandslide, cmd::kPyramid,
        cmd::kSeparator, cmd::kStart,         cmd::kGoalArea,  cmd::kEnemies,
    };
    return layout;
}

}  // namespace zandrel::app
