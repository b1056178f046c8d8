#include "view3d/TextureSet.h"

#include <GL/gl.h>

#include <QOpenGLContext>
#include <algorithm>
#include <ostream>
#include <string>

#include "map/MapGrid.h"
#include "view3d/TextureLoader.h"
#include "view3d/TexturesByFile.h"

namespace zandrel::view3d {

TextureSet& TextureSet::OfCurrentGroup(const QObject* document) {
    QOpenGLContextGroup* const group = QOpenGLContextGroup::currentContextGroup();
    for (TextureSet* set :
         group->findChildren<TextureSet*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (set->document_ == document) {
            return *set;
        }
    }
    return *new TextureSet(group, document);
}

TextureSet::TextureSet(QOpenGLContextGroup* group, const QObject* document)
    : QObject(group), group_(group), document_(document) {
    // A closed document's names are of no further use; they go with the set if a context of
    // the group is current then. Forgetting the document at once keeps a new one made at the
    // same address from finding this set.
    connect(document, &QObject::destroyed, this, [this] {
        document_ = nullptr;
        deleteLater();
    });
}

TextureSet::~TextureSet() {
    if (GroupIsCurrent()) {
        DeleteAll(mapNames_);
        DeleteAll({enemyTexture_});
    }
}

bool TextureSet::GroupIsCurrent() const {
    const QOpenGLContext* const current = QOpenGLContext::currentContext();
    return current != nullptr && current->shareGroup() == group_;
}

void TextureSet::DeleteAll(const std::vector<std::uint32_t>& names) {
    for (const std::uint32_t name : names) {
        TextureLoader::Delete(name);
    }
}

void TextureSet::LoadMapTextures(map::MapGrid& grid, std::ostream& trace) {
    TexturesByFile loaded;
    const auto load = [&loaded](const std::string& fileName) {
        return loaded.Get(
            fileName, [](const std::string& name) { return TextureLoader::LoadMipmapped(name); });
    };
    const std::int32_t count = std::clamp(grid.numtex, 0, map::kMaxTextureSlots);
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string fileName(grid.textures[i].View());
        // Written and flushed before the load, so that should an image ever bring the editor
        // down the last line names it.
        trace << "Texture " << i << ':' << fileName << '\n';
        trace.flush();
        grid.textureIds[i] = load(fileName);
    }
    grid.start.texture = load("start.jpg");
    grid.wallArea.texture = load("wall.jpg");
    // Deleted only now, so that no new name reuses one the map still held.
    if (GroupIsCurrent()) {
        DeleteAll(mapNames_);
    }
    mapNames_ = loaded.Names();
}

void TextureSet::LoadEnemyTexture(const map::MapGrid& grid) {
    const bool inTable = grid.Enemys_Tex >= 0 && grid.Enemys_Tex < map::kMaxTextureSlots;
    const std::uint32_t replaced = enemyTexture_;
    enemyTexture_ =
        inTable ? TextureLoader::LoadMipmapped(std::string(grid.textures[grid.Enemys_Tex].View()))
                : 0;
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (GroupIsCurrent()) {
        TextureLoader::Delete(replaced);
    }
}

}  // namespace zandrel::view3d
