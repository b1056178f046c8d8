#pragma once

#include <QObject>
#include <cstdint>
#include <iosfwd>
#include <vector>

class QOpenGLContextGroup;

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::view3d {

// The texture objects of one document in one GL share group: the map's slots, the start and
// wall areas and the enemy markers. Texture names live in a share group, so the set is a child
// of its group and goes with it; it deletes every name it replaces, and its own names when it
// is destroyed while a context of its group is current (otherwise the group took them along).
// It is the only writer of the map's texture fields.
class TextureSet : public QObject {
    Q_OBJECT

public:
    // The set of document in the group of the current context, made on first use. Needs a
    // current context.
    static TextureSet& OfCurrentGroup(const QObject* document);

    ~TextureSet() override;

    // Loads the map's slots 0..numtex-1, writing "Texture %d:%s" for each slot to trace, then
    // "start.jpg" and "wall.jpg", into the map's fields; the names they replace are deleted.
    void LoadMapTextures(map::MapGrid& grid, std::ostream& trace);
    // Loads the file of the map's enemy slot for the markers; an index outside the table (any
    // of the 50 slots may name it, even one past numtex) leaves them untextured.
    void LoadEnemyTexture(const map::MapGrid& grid);

    std::uint32_t EnemyTexture() const { return enemyTexture_; }

    // The document's texture generation this set last loaded, so that several views of one
    // group answer a reload once.
    std::uint64_t LoadedGeneration() const { return loadedGeneration_; }
    void SetLoadedGeneration(std::uint64_t generation) { loadedGeneration_ = generation; }

private:
    TextureSet(QOpenGLContextGroup* group, const QObject* document);
    // Deletes names in the current context, which must belong to this set's group.
    static void DeleteAll(const std::vector<std::uint32_t>& names);
    bool GroupIsCurrent() const;

    QOpenGLContextGroup* group_;
    const QObject* document_;
    std::vector<std::uint32_t> mapNames_;
    std::uint32_t enemyTexture_ = 0;
    std::uint64_t loadedGeneration_ = 0;
};

}  // namespace zandrel::view3d
