// tools/game_description.cpp — contents:
//   block splitting (KEYWORD ... end)
//   DescriptionBuilder: one handler per top-level line and per block kind
//   BuildGameDescription
#include "tools/game_description.h"

#include <filesystem>
#include <map>
#include <set>
#include <span>

#include "engine/game_data_format.h"
#include "tools/description_scanner.h"
#include "tools/font_rasterizer.h"
#include "tools/vector_art.h"

namespace {

const std::map<std::string, uint32_t> kOptionBits = {
    {"roaming_save_area", kOptionRoamingSaveArea},
    {"sandbox_disabled", kOptionSandboxDisabled},
    {"freeze_when_inactive", kOptionFreezeWhenInactive},
    {"copy_on_write_arrays", kOptionCopyOnWriteArrays},
};

const std::map<std::string, int> kEventTypes = {
    {"Create", 0},      {"Destroy", 1},  {"Alarm", 2},    {"Step", 3},       {"Collision", 4},
    {"Keyboard", 5},    {"Mouse", 6},    {"Other", 7},    {"Draw", 8},       {"KeyPress", 9},
    {"KeyRelease", 10}, {"CleanUp", 12}, {"Gesture", 13}, {"PreCreate", 14},
};

// The runtime colour encoding: alpha << 24 | blue << 16 | green << 8 | red.
uint32_t RuntimeColour(Rgba c) { return uint32_t(c.a) << 24 | uint32_t(c.b) << 16 | uint32_t(c.g) << 8 | c.r; }

uint32_t OpaqueRuntimeColour(const DescriptionLine& line, size_t index) {
  Rgba colour = line.Colour(index);
  if (colour.a != 255) line.Fail("this colour cannot be transparent");
  return RuntimeColour(colour) & 0xFFFFFF;
}

class DescriptionBuilder {
 public:
  DescriptionBuilder(std::filesystem::path descriptionDir, std::filesystem::path fontFolder)
      : baseDir(std::move(descriptionDir)), fontDir(std::move(fontFolder)) {}

  GameData Build(const std::vector<DescriptionLine>& lines) {
    game.options.flags = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      const DescriptionLine& line = lines[i];
      if (kBlockKeywords.count(line.Keyword())) {
        size_t end = BlockEnd(lines, i);
        Block(line, std::span(lines).subspan(i + 1, end - i - 1));
        i = end;
      } else {
        Setting(line);
      }
    }
    if (game.options.gameName.empty()) throw DescriptionError("the description has no 'game' line");
    if (game.rooms.empty()) throw DescriptionError("the description has no room");
    for (size_t i = 0; i < game.rooms.size(); ++i) game.roomOrder.push_back(int(i));
    return std::move(game);
  }

 private:
  using Body = std::span<const DescriptionLine>;

  // The index of the `end` that closes the block opened at lines[start].
  static size_t BlockEnd(const std::vector<DescriptionLine>& lines, size_t start) {
    for (size_t i = start + 1; i < lines.size(); ++i) {
      if (lines[i].Keyword() == "end") {
        lines[i].ExpectSize(1);
        return i;
      }
    }
    lines[start].Fail("'" + lines[start].Keyword() + "' has no 'end'");
  }

  void Setting(const DescriptionLine& line) {
    const std::string& key = line.Keyword();
    if (key == "game") {
      line.ExpectSize(2);
      game.options.gameName = line.String(1);
    } else if (key == "speed") {
      line.ExpectSize(2);
      game.options.gameSpeed = line.Integer(1, 1, kMaxSpeed);
    } else if (key == "option") {
      line.ExpectSize(2);
      auto bit = kOptionBits.find(line.Word(1));
      if (bit == kOptionBits.end()) line.Fail("unknown option '" + line.Word(1) + "'");
      game.options.flags |= bit->second;
    } else if (key == "draw_colour") {
      line.ExpectSize(2);
      game.options.defaultDrawColour = RuntimeColour(line.Colour(1));
    } else if (key == "end") {
      line.Fail("'end' without a block");
    } else {
      line.Fail("unknown setting '" + key + "'");
    }
  }

  void Block(const DescriptionLine& header, Body body) {
    header.ExpectSize(2);
    const std::string& name = header.Word(1);
    const std::string& kind = header.Keyword();
    if (!names[kind].emplace(name, NextIndex(kind)).second) header.Fail(kind + " '" + name + "' is defined twice");
    if (kind == "sprite") game.sprites.push_back(SpriteBlock(header, name, body));
    if (kind == "font") game.fonts.push_back(FontBlock(header, name, body));
    if (kind == "object") game.objects.push_back(ObjectBlock(name, body));
    if (kind == "room") game.rooms.push_back(RoomBlock(name, body));
  }

  int NextIndex(const std::string& kind) const {
    if (kind == "sprite") return int(game.sprites.size());
    if (kind == "font") return int(game.fonts.size());
    if (kind == "object") return int(game.objects.size());
    return int(game.rooms.size());
  }

  int Lookup(const DescriptionLine& line, const std::string& kind, size_t index) const {
    const std::string& name = line.Word(index);
    auto ofKind = names.find(kind);
    if (ofKind != names.end()) {
      auto found = ofKind->second.find(name);
      if (found != ofKind->second.end()) return found->second;
    }
    line.Fail("no " + kind + " named '" + name + "' defined before this line");
  }

  Sprite SpriteBlock(const DescriptionLine& header, const std::string& name, Body body) const {
    Sprite sprite;
    sprite.name = name;
    std::string art;
    bool boxGiven = false;
    for (const DescriptionLine& line : body) {
      const std::string& key = line.Keyword();
      if (key == "size") {
        line.ExpectSize(3);
        sprite.width = line.Integer(1, 1, kMaxImageSide);
        sprite.height = line.Integer(2, 1, kMaxImageSide);
      } else if (key == "origin") {
        line.ExpectSize(3);
        sprite.originX = line.Integer(1, -kMaxImageSide, kMaxImageSide);
        sprite.originY = line.Integer(2, -kMaxImageSide, kMaxImageSide);
      } else if (key == "bbox") {
        line.ExpectSize(5);
        sprite.bboxLeft = line.Integer(1, 0, sprite.width - 1);
        sprite.bboxTop = line.Integer(2, 0, sprite.height - 1);
        sprite.bboxRight = line.Integer(3, sprite.bboxLeft, sprite.width - 1);
        sprite.bboxBottom = line.Integer(4, sprite.bboxTop, sprite.height - 1);
        boxGiven = true;
      } else if (key == "art") {
        line.ExpectSize(2);
        art = line.String(1);
      } else {
        line.Fail("unknown sprite setting '" + key + "'");
      }
    }
    if (sprite.width == 0 || art.empty()) header.Fail("a sprite needs 'size' (first) and 'art'");
    if (!boxGiven) {
      sprite.bboxRight = sprite.width - 1;
      sprite.bboxBottom = sprite.height - 1;
    }
    std::vector<ArtFrame> frames = ParseArt(ReadDescriptionFile((baseDir / art).string()));
    if (frames.empty()) header.Fail("the art file " + art + " has no frame");
    for (const ArtFrame& frame : frames) sprite.frames.push_back(RasteriseArtFrame(frame, sprite.width, sprite.height));
    return sprite;
  }

  Font FontBlock(const DescriptionLine& header, const std::string& name, Body body) const {
    FontRequest request;
    request.name = name;
    for (const DescriptionLine& line : body) {
      const std::string& key = line.Keyword();
      if (key == "file") {
        line.ExpectSize(2);
        request.file = (fontDir / line.String(1)).string();
      } else if (key == "size") {
        line.ExpectSize(2);
        request.pixelSize = line.Integer(1, 1, 512);
      } else if (key == "chars") {
        line.ExpectSize(3);
        int first = line.Integer(1, 0, int(kMaxCodepoint));
        request.ranges.emplace_back(uint32_t(first), uint32_t(line.Integer(2, first, int(kMaxCodepoint))));
      } else {
        line.Fail("unknown font setting '" + key + "'");
      }
    }
    if (request.file.empty() || request.pixelSize == 0 || request.ranges.empty())
      header.Fail("a font needs 'file', 'size' and 'chars'");
    return RasteriseFont(request);
  }

  ObjectRecord ObjectBlock(const std::string& name, Body body) const {
    ObjectRecord object;
    object.name = name;
    std::set<std::pair<int, int>> keys;
    for (const DescriptionLine& line : body) {
      const std::string& key = line.Keyword();
      if (key == "sprite") {
        line.ExpectSize(2);
        object.spriteIndex = Lookup(line, "sprite", 1);
      } else if (key == "event") {
        EventBinding event = EventLine(line);
        if (!keys.emplace(event.type, event.number).second) line.Fail("this event is already bound");
        object.events.push_back(event);
      } else {
        line.Fail("unknown object setting '" + key + "'");
      }
    }
    return object;
  }

  // event TYPE NUMBER -> CODE
  static EventBinding EventLine(const DescriptionLine& line) {
    line.ExpectSize(5);
    auto type = kEventTypes.find(line.Word(1));
    if (type == kEventTypes.end()) line.Fail("unknown event type '" + line.Word(1) + "'");
    if (line.Word(3) != "->") line.Fail("expected '->' before the code index");
    return EventBinding{type->second, line.Integer(2, 0, 1 << 30), line.Integer(4, 0, 1 << 30)};
  }

  RoomRecord RoomBlock(const std::string& name, Body body) {
    RoomRecord room;
    room.name = name;
    for (const DescriptionLine& line : body) {
      const std::string& key = line.Keyword();
      if (key == "size") {
        line.ExpectSize(3);
        room.width = line.Integer(1, 1, kMaxRoomSide);
        room.height = line.Integer(2, 1, kMaxRoomSide);
      } else if (key == "speed") {
        line.ExpectSize(2);
        room.speed = line.Integer(1, 1, kMaxSpeed);
      } else if (key == "background") {
        line.ExpectSize(2);
        room.backgroundColour = OpaqueRuntimeColour(line, 1);
      } else if (key == "instance") {
        room.instances.push_back(InstanceLine(line));
      } else {
        line.Fail("unknown room setting '" + key + "'");
      }
    }
    return room;
  }

  // instance OBJECT X Y [image N]
  RoomInstanceRecord InstanceLine(const DescriptionLine& line) {
    if (line.Size() != 4 && line.Size() != 6) line.Fail("'instance' takes an object, x, y and optionally 'image N'");
    RoomInstanceRecord instance;
    instance.objectIndex = Lookup(line, "object", 1);
    instance.x = line.Number(2);
    instance.y = line.Number(3);
    if (line.Size() == 6) {
      if (line.Word(4) != "image") line.Fail("expected 'image', found '" + line.Word(4) + "'");
      instance.imageIndex = float(line.Integer(5, 0, 1 << 20));
    }
    instance.id = nextInstanceId++;
    return instance;
  }

  static inline const std::set<std::string> kBlockKeywords = {"sprite", "font", "object", "room"};

  std::filesystem::path baseDir;
  std::filesystem::path fontDir;
  GameData game;
  std::map<std::string, std::map<std::string, int>> names;  // kind -> name -> index
  int nextInstanceId = kFirstInstanceId;
};

}  // namespace

GameData BuildGameDescription(const std::string& path, const std::string& fontDir) {
  std::filesystem::path description(path);
  return DescriptionBuilder(description.parent_path(), fontDir).Build(ReadDescriptionFile(path));
}
