// Brawnwick levels in Tiled: opens levels/N.txt, saves it back, and plays it in the game.
//
// The text stays the level's only copy. Saving rewrites it from the map, keeping the source's
// comments, layout and grid characters wherever that part of the level did not change, so a
// level saved without changes compiles to the same level file, and an edit shows as a small diff.
//
// Texture paths in a level are relative to the folder the game runs in; for levels/N.txt that
// is the folder above levels/ (the repository root), so that is where paths are resolved from.
"use strict";

const TILE = 64;                      // pixels per cell in Tiled; the game's textures are 64 x 64
const DEFAULT_SKY = [153, 153, 255];  // the game's sky when a source names none
const OPEN_SKY = 255;                 // the ceiling code of open sky
// Grid characters a reader finds natural, as the level tools choose them; no 'e', so no row reads "end".
const WALL_CHARS = "#ABCDFGHIJKLMNOPQRSTUVWXYZ0123456789@$%&*=?!|";
const FREE_CHARS = ".,:_-~+^abcdfghijklmnopqrstuvwxyz<>()[]{}/\\";

// ---------------------------------------------------------------------------------------------
// Paths

function dirName(p) {
    const i = p.lastIndexOf("/");
    return i < 0 ? "." : i === 0 ? "/" : p.substring(0, i);
}

function baseName(p) {
    return p.substring(p.lastIndexOf("/") + 1).replace(/\.[^.]*$/, "");
}

function cleanPath(p) {
    const absolute = p.startsWith("/");
    const parts = [];
    for (const part of p.split("/")) {
        if (part === "" || part === ".") continue;
        if (part !== "..") parts.push(part);
        else if (parts.length && parts[parts.length - 1] !== "..") parts.pop();
        else if (!absolute) parts.push(part);
    }
    return (absolute ? "/" : "") + parts.join("/");
}

function resolvePath(root, p) {
    return cleanPath(p.startsWith("/") ? p : root + "/" + p);
}

function relativePath(root, target) {
    const from = cleanPath(root).split("/").filter(s => s);
    const to = cleanPath(target).split("/").filter(s => s);
    let same = 0;
    while (same < from.length && same < to.length && from[same] === to[same]) ++same;
    return from.slice(same).map(() => "..").concat(to.slice(same)).join("/");
}

// The folder the game runs in, which texture paths are relative to: the one above the level's
// folder (levels/N.txt), or else the nearest folder above the level where its first relative
// texture path leads to a file (a level kept deeper, as tests/data/level/room.txt).
function gameFolder(levelFile, paths) {
    const usual = dirName(dirName(cleanPath(levelFile)));
    const probe = (paths || []).find(p => !p.startsWith("/"));
    if (!probe || File.exists(resolvePath(usual, probe))) return usual;
    for (let folder = dirName(cleanPath(levelFile)); folder !== "/" && folder !== "."; folder = dirName(folder))
        if (File.exists(resolvePath(folder, probe))) return folder;
    return usual;
}

// ---------------------------------------------------------------------------------------------
// Numbers, read exactly as the level compiler reads them (strtol, strtof) and written back so.

function parseIntIn(s, low, high) {
    if (!/^[+-]?[0-9]+$/.test(s)) return null;
    const v = Number(s);
    return v >= low && v <= high ? v : null;
}

function parseFloat32(s) {
    let v;
    if (/^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?$/.test(s)) {
        v = Number(s);
    } else {
        // C also reads hexadecimal floats such as 0x1.8p3.
        const m = /^([+-]?)0[xX]([0-9a-fA-F]*)\.?([0-9a-fA-F]*)(?:[pP]([+-]?[0-9]+))?$/.exec(s);
        if (!m || m[2] + m[3] === "") return null;
        v = parseInt(m[2] + m[3], 16) * Math.pow(2, (m[4] ? Number(m[4]) : 0) - 4 * m[3].length);
        if (m[1] === "-") v = -v;
    }
    v = Math.fround(v);
    return isFinite(v) ? v : null;
}

// The shortest decimal text that reads back as the same single-precision float.
function floatText(f) {
    if (Object.is(f, -0)) return "-0";
    for (let digits = 1; digits <= 9; ++digits) {
        const s = String(Number(f.toPrecision(digits)));
        if (Math.fround(Number(s)) === f) return s;
    }
    return String(f);
}

// ---------------------------------------------------------------------------------------------
// The text format: parsed into the level and a record of every line, so that saving can keep
// the lines that did not change.

const isBlank = c => c === " " || c === "\t";
const isGridChar = c => c > " " && c < "\x7f" && c !== ";";
const trim = s => s.replace(/^[ \t]+|[ \t]+$/g, "");
const words = s => s.split(/[ \t]+/).filter(w => w);

// A line's comment with the blanks before it, to carry over to a rewritten line.
function commentOf(s) {
    const i = s.indexOf(";");
    return i < 0 ? "" : s.substring(s.substring(0, i).replace(/[ \t]+$/, "").length);
}

function cellKey(cell) {
    return cell.wall !== undefined ? "w" + cell.wall : "f" + cell.floor + "," + cell.ceiling;
}

function parseLevel(text) {
    const level = {textures: [], sky: null, start: null, legend: [], rows: [], sprites: []};
    const lines = [];
    const legendLine = {};
    let inMap = false, mapLine = 0, lineNo = 0;
    const fail = reason => { throw new Error("line " + lineNo + ": " + reason); };
    const rawLines = text.split("\n");
    if (rawLines[rawLines.length - 1] === "") rawLines.pop();

    for (let raw of rawLines) {
        ++lineNo;
        if (raw.endsWith("\r")) raw = raw.substring(0, raw.length - 1);
        const t = trim(raw);
        if (t === "" || t[0] === ";") {
            if (inMap && t === "") fail("blank line inside the map (the map ends with 'end')");
            lines.push({kind: "other", text: raw});
            continue;
        }
        if (raw.indexOf("\0") >= 0) fail("the line holds a zero byte");
        const body = trim(t.split(";")[0]);
        if (inMap) {
            if (body === "end") {
                inMap = false;
                lines.push({kind: "end", text: raw});
                continue;
            }
            for (const c of body)
                if (!isGridChar(c)) fail("'" + c + "' cannot be a grid character (is the map's 'end' missing?)");
            if (level.rows.length && body.length !== level.rows[0].length)
                fail("the row is " + body.length + " cells long, the first row " + level.rows[0].length);
            lines.push({kind: "row", text: raw, row: level.rows.length, indent: raw.match(/^[ \t]*/)[0],
                        comment: commentOf(raw)});
            level.rows.push(body);
            continue;
        }
        const keyword = t.match(/^[^ \t;]*/)[0];
        const w = words(body);
        const line = {kind: keyword, text: raw, comment: commentOf(raw)};
        if (keyword === "texture") {
            let path, rest = trim(t.substring(keyword.length));
            if (rest[0] === '"') {
                const close = rest.indexOf('"', 1);
                if (close < 0) fail("the texture path has no closing '\"'");
                path = rest.substring(1, close);
                const after = trim(rest.substring(close + 1));
                if (after !== "" && after[0] !== ";") fail("unexpected text after the texture path");
                line.comment = commentOf(rest.substring(close + 1));
            } else {
                path = trim(rest.split(";")[0]);
            }
            if (path === "") fail("'texture' needs a path");
            line.index = level.textures.length;
            level.textures.push(path);
        } else if (keyword === "sky") {
            const rgb = w.slice(1).map(s => parseIntIn(s, 0, 255));
            if (level.sky) fail("a second 'sky'");
            if (rgb.length !== 3 || rgb.indexOf(null) >= 0) fail("'sky' takes red, green and blue, each 0 to 255");
            level.sky = rgb;
        } else if (keyword === "start") {
            const xy = w.slice(1).map(parseFloat32);
            if (level.start) fail("a second 'start'");
            if (xy.length !== 2 || xy.indexOf(null) >= 0) fail("'start' takes the camera's x and y");
            level.start = xy;
        } else if (keyword === "wall" || keyword === "floor") {
            const wall = keyword === "wall";
            const a = w.length === (wall ? 3 : 4) ? parseIntIn(w[2], 0, wall ? 0xFFFE : 255) : null;
            const b = wall ? 0 : w[3] === "sky" ? OPEN_SKY : parseIntIn(w[3], 0, 255);
            if (a === null || b === null || w[1].length !== 1)
                fail(wall ? "'wall' takes a grid character and a texture number"
                          : "'floor' takes a grid character, a floor texture and a ceiling texture or 'sky'");
            if (!isGridChar(w[1])) fail("'" + w[1] + "' cannot be a grid character");
            if (legendLine[w[1]]) fail("grid character '" + w[1] + "' is already given on line " + legendLine[w[1]]);
            legendLine[w[1]] = lineNo;
            line.kind = "legend";
            line.char = w[1];
            line.cell = wall ? {wall: a} : {floor: a, ceiling: b};
            level.legend.push(line);
        } else if (keyword === "map") {
            if (mapLine) fail("a second map (the first starts on line " + mapLine + ")");
            if (w.length !== 1) fail("'map' stands alone on its line; the rows follow it");
            mapLine = lineNo;
            inMap = true;
        } else if (keyword === "sprite") {
            const s = {x: parseFloat32(w[1] || ""), y: parseFloat32(w[2] || ""), health: parseIntIn(w[4] || "", 0, 255),
                       texture: parseIntIn(w[6] || "", 0, 65535), text: raw, comment: line.comment};
            if (w.length !== 7 || w[3] !== "health" || w[5] !== "texture" || s.x === null || s.y === null ||
                s.health === null || s.texture === null)
                fail("'sprite' takes x y health H texture T (H 0 to 255)");
            level.sprites.push(s);
        } else {
            fail(keyword === "end" ? "'end' without 'map'" : "unknown keyword '" + keyword + "'");
        }
        lines.push(line);
    }
    if (inMap) { lineNo = mapLine; fail("the map has no 'end'"); }
    if (!mapLine) throw new Error("the source has no map (a 'map' line, the rows, then 'end')");
    if (!level.start) throw new Error("the source has no camera start ('start X Y')");

    // The grid as cells, each {wall} or {floor, ceiling}.
    const legend = {};
    for (const entry of level.legend) legend[entry.char] = entry.cell;
    level.width = level.rows.length ? level.rows[0].length : 0;
    level.height = level.rows.length;
    level.cells = [];
    lines.filter(l => l.kind === "row").forEach((l, row) => {
        for (const c of level.rows[row]) {
            if (!legend[c]) throw new Error("line " + (lines.indexOf(l) + 1) + ": unknown grid character '" + c + "'");
            level.cells.push(legend[c]);
        }
    });
    return {level: level, lines: lines};
}

// Quotes a path the way the level compiler reads it back.
function pathText(path) {
    if (/[\x00-\x08\x0a-\x1f]/.test(path)) throw new Error("the texture path \"" + path + "\" holds a control character");
    if (path.indexOf(";") < 0 && !isBlank(path[0]) && !isBlank(path[path.length - 1]) && path[0] !== '"')
        return path;
    if (path.indexOf('"') >= 0) throw new Error("the texture path " + path + " has both '\"' and ';' or outer blanks");
    return '"' + path + '"';
}

function legendLine(c, cell) {
    return cell.wall !== undefined ? "wall " + c + " " + cell.wall
         : "floor " + c + " " + cell.floor + " " + (cell.ceiling === OPEN_SKY ? "sky" : cell.ceiling);
}

// Picks a grid character for a new kind of cell.
function newGridChar(wall, used) {
    for (const c of wall ? WALL_CHARS : FREE_CHARS)
        if (!used[c]) return c;
    for (let code = 33; code < 127; ++code) {
        const c = String.fromCharCode(code);
        if (isGridChar(c) && c !== "e" && !used[c]) return c;
    }
    throw new Error("the level has more kinds of cells than the text has grid characters");
}

// The text of `level` (as levelOf gives it), laid out like `template` (a parsed source with the
// folder its paths are relative to and the map objects its sprites came from). `root` is the
// folder the written file's texture paths are relative to.
function levelText(level, template, root) {
    const T = template.parsed.level, lines = template.parsed.lines;
    const tplTexture = i => resolvePath(template.root, T.textures[i]);
    const sameTexture = i => i < T.textures.length && tplTexture(i) === level.textures[i];
    // A texture the source names keeps its path's text while the game folder stays.
    const textureLine = (i, comment) => {
        const known = T.textures.findIndex((p, j) => tplTexture(j) === level.textures[i]);
        const path = known >= 0 && template.root === root ? T.textures[known] : relativePath(root, level.textures[i]);
        return "texture " + pathText(path) + comment;
    };
    // Where each of the source's textures is now, so that its grid characters follow their pictures.
    const moved = T.textures.map((p, i) => sameTexture(i) ? i : level.textures.indexOf(tplTexture(i)));
    const movedCode = (code, limit) => code === undefined || code === OPEN_SKY && limit === OPEN_SKY ? code
                                       : moved[code] >= 0 && moved[code] <= limit ? moved[code] : null;
    const legendText = {};  // template legend line -> its text now, or null when its texture is gone
    const charOf = {}, used = {}, newLegend = [];
    for (const entry of T.legend) {
        const cell = entry.cell.wall !== undefined ? {wall: movedCode(entry.cell.wall, 0xFFFE)}
                   : {floor: movedCode(entry.cell.floor, 255), ceiling: movedCode(entry.cell.ceiling, OPEN_SKY)};
        if (cell.wall === null || cell.floor === null || cell.ceiling === null) {
            legendText[entry.text] = null;
            continue;
        }
        used[entry.char] = true;
        if (!(cellKey(cell) in charOf)) charOf[cellKey(cell)] = entry.char;
        legendText[entry.text] = cellKey(cell) === cellKey(entry.cell) ? entry.text
                                 : legendLine(entry.char, cell) + commentOf(entry.text);
    }
    for (const cell of level.cells) {
        const key = cellKey(cell);
        if (key in charOf) continue;
        const c = newGridChar(cell.wall !== undefined, used);
        used[c] = true;
        charOf[key] = c;
        newLegend.push(legendLine(c, cell));
    }
    const rows = [];
    for (let y = 0; y < level.height; ++y)
        rows.push(level.cells.slice(y * level.width, (y + 1) * level.width).map(c => charOf[cellKey(c)]).join(""));

    const spriteLine = k => {
        const s = level.sprites[k];
        const from = template.spriteIds.indexOf(s.id);
        const old = from >= 0 ? T.sprites[from] : null;
        if (old && old.x === s.x && old.y === s.y && old.health === s.health && old.texture === s.texture) return old.text;
        return "sprite " + floatText(s.x) + " " + floatText(s.y) + " health " + s.health + " texture " + s.texture +
               (old ? old.comment : "");
    };
    const sameSky = T.sky ? level.sky.join() === T.sky.join() : level.sky.join() === DEFAULT_SKY.join();
    const last = kind => lines.map(l => l.kind).lastIndexOf(kind);
    const first = kind => lines.map(l => l.kind).indexOf(kind);
    const lastTexture = last("texture"), lastLegend = last("legend"), lastRow = last("row"), lastSprite = last("sprite");
    const firstCode = lines.findIndex(l => l.kind !== "other");
    const legendAt = lastLegend >= 0 ? -1 : first("map");

    const out = [];
    let spriteSlot = 0;
    const range = (from, to, f) => { for (let i = from; i < to; ++i) out.push(f(i)); };
    lines.forEach((line, at) => {
        if (at === firstCode && lastTexture < 0) range(0, level.textures.length, i => textureLine(i, "   ; " + i));
        if (at === legendAt) out.push(...newLegend);
        if (line.kind === "map" && !T.sky && !sameSky) out.push("sky " + level.sky.join(" "));
        switch (line.kind) {
        case "texture":
            if (line.index < level.textures.length)
                out.push(sameTexture(line.index) ? line.text : textureLine(line.index, line.comment));
            if (at === lastTexture) range(T.textures.length, level.textures.length, i => textureLine(i, "   ; " + i));
            break;
        case "sky":
            out.push(sameSky ? line.text : "sky " + level.sky.join(" ") + line.comment);
            break;
        case "start":
            out.push(level.start[0] === T.start[0] && level.start[1] === T.start[1] ? line.text
                     : "start " + floatText(level.start[0]) + " " + floatText(level.start[1]) + line.comment);
            break;
        case "legend":
            if (legendText[line.text] !== null) out.push(legendText[line.text]);
            if (at === lastLegend) out.push(...newLegend);
            break;
        case "map":
            out.push(line.text);
            if (lastRow < 0) out.push(...rows);
            break;
        case "row":
            if (line.row < rows.length) out.push(line.indent + rows[line.row] + line.comment);
            if (at === lastRow) out.push(...rows.slice(T.rows.length));
            break;
        case "end":
            out.push(line.text);
            if (lastSprite < 0) range(0, level.sprites.length, spriteLine);
            break;
        case "sprite":
            if (spriteSlot < level.sprites.length) out.push(spriteLine(spriteSlot));
            ++spriteSlot;
            if (at === lastSprite) range(T.sprites.length, level.sprites.length, spriteLine);
            break;
        default:
            out.push(line.text);
        }
    });
    return out.join("\n") + "\n";
}

// What a level drawn from scratch is laid out like.
const NEW_LEVEL = {parsed: parseLevel("; Brawnwick level\nstart 0 0\n\nmap\nend\n\n"), root: "/", spriteIds: []};

// ---------------------------------------------------------------------------------------------
// Level and map

function readText(fileName) {
    const file = new TextFile(fileName, TextFile.ReadOnly);
    const text = file.readAll();
    file.close();
    return text;
}

function writeText(fileName, text) {
    const file = new TextFile(fileName, TextFile.WriteOnly);
    file.write(text);
    file.commit();
}

// The sky tile shows the level's sky colour.
function skyImage(rgb) {
    const image = new Image(TILE, TILE, Image.Format_ARGB32);
    image.fill((0xff000000 | (rgb[0] << 16) | (rgb[1] << 8) | rgb[2]) >>> 0);
    return image;
}

// Magenta is see-through in the game's sprites; the tile shows it so, and keeps its file name.
function showMagentaClear(tile) {
    const image = new Image(tile.imageFileName);
    const clear = new Image(image.width, image.height, Image.Format_ARGB32);
    let seen = false;
    for (let y = 0; y < image.height; ++y) {
        for (let x = 0; x < image.width; ++x) {
            const rgb = image.pixel(x, y) & 0xffffff;
            seen = seen || rgb === 0xff00ff;
            clear.setPixel(x, y, rgb === 0xff00ff ? 0 : (0xff000000 | rgb) >>> 0);
        }
    }
    if (seen) tile.setImage(clear);  // the tile keeps its file name
}

function parseSky(value) {
    const text = String(value === undefined ? "" : value).trim();
    let rgb = words(text).map(s => parseIntIn(s, 0, 255));
    const hex = /^#([0-9a-fA-F]{2})?([0-9a-fA-F]{2})([0-9a-fA-F]{2})([0-9a-fA-F]{2})$/.exec(text);
    if (hex) rgb = [2, 3, 4].map(i => parseInt(hex[i], 16));
    if (rgb.length !== 3 || rgb.indexOf(null) >= 0)
        throw new Error("the map property 'sky' is \"" + text + "\"; it takes red, green and blue, each 0 to 255");
    return rgb;
}

const templates = {};  // level file -> the source it was read from or last saved as
let lastRead = null;   // the one level a command-line export reads
const alive = {};      // level file -> what reading it made (see readLevel)

function remember(fileName, text, spriteIds) {
    const parsed = parseLevel(text);
    const entry = {parsed: parsed, file: cleanPath(fileName), root: gameFolder(fileName, parsed.level.textures),
                   spriteIds: spriteIds};
    templates[cleanPath(fileName)] = entry;
    return entry;
}

// What a save of `map` to `target` is laid out like. A map handed to the writer may not know its
// file: then the file it is saved over (Save), or else the open map's (Save As), is its source.
function templateFor(map, level, target) {
    const active = tiled.activeAsset;
    const names = [map.fileName, target, active && active.isTileMap ? active.fileName : ""].filter(n => n).map(cleanPath);
    for (const name of names)
        if (templates[name]) return templates[name];
    if (tiled.openAssets.length === 0 && lastRead) return lastRead;  // a command-line export
    // After a reload of the scripts the source on disk is still the one the map came from.
    for (const name of names.slice(0, 2)) {
        if (!/\.txt$/i.test(name) || !File.exists(name)) continue;
        try {
            return remember(name, readText(name), level.sprites.map(s => s.id));
        } catch (e) {
            // not a level source
        }
    }
    return NEW_LEVEL;
}

// The game folder for a level saved as `target`: its source's, when it stays in the same folder.
function outputRoot(template, target) {
    return template.file && dirName(template.file) === dirName(cleanPath(target)) ? template.root : gameFolder(target);
}

function readLevel(fileName) {
    const text = readText(fileName);
    let level;
    try {
        level = parseLevel(text).level;
    } catch (e) {
        throw new Error(fileName + ": " + e.message);
    }
    const root = gameFolder(fileName, level.textures);
    const map = new TileMap();
    map.setSize(level.width, level.height);
    map.setTileSize(TILE, TILE);
    map.setProperty("sky", (level.sky || DEFAULT_SKY).join(" "));

    const textures = new Tileset("textures");
    textures.objectAlignment = Tileset.Center;  // a sprite object's position is the sprite's point
    const tiles = level.textures.map(path => {
        const tile = textures.addTile();
        tile.imageFileName = resolvePath(root, path);
        showMagentaClear(tile);
        return tile;
    });
    const skyTileset = new Tileset("sky");
    const skyTile = skyTileset.addTile();
    skyTile.setImage(skyImage(level.sky || DEFAULT_SKY));
    map.addTileset(textures);
    map.addTileset(skyTileset);

    const texture = (index, what) => {
        if (index >= tiles.length) throw new Error(fileName + ": " + what + " uses texture " + index +
                                                   ", which is not in the texture list");
        return tiles[index];
    };
    const floors = new TileLayer("floors"), ceilings = new TileLayer("ceilings"), walls = new TileLayer("walls");
    const edits = [floors, ceilings, walls].map(layer => {
        layer.width = level.width;
        layer.height = level.height;
        return layer.edit();
    });
    level.cells.forEach((cell, i) => {
        const x = i % level.width, y = Math.floor(i / level.width), where = "cell (" + x + ", " + y + ")";
        if (cell.wall !== undefined) {
            edits[2].setTile(x, y, texture(cell.wall, where));
        } else {
            edits[0].setTile(x, y, texture(cell.floor, where));
            edits[1].setTile(x, y, cell.ceiling === OPEN_SKY ? skyTile : texture(cell.ceiling, where));
        }
    });
    edits.forEach(e => e.apply());
    ceilings.visible = false;  // floors tell more; show the ceilings to paint them or the sky
    [floors, ceilings, walls].forEach(layer => map.addLayer(layer));

    const sprites = new ObjectGroup("sprites");
    level.sprites.forEach((s, k) => {
        const object = new MapObject(baseName(level.textures[s.texture] || ""));
        object.tile = texture(s.texture, "sprite " + k);
        object.width = object.tile.width || TILE;
        object.height = object.tile.height || TILE;
        object.x = s.x * TILE;
        object.y = s.y * TILE;
        object.setProperty("health", s.health);
        sprites.addObject(object);
    });
    const start = new ObjectGroup("start");
    const camera = new MapObject("start");
    camera.shape = MapObject.Point;
    camera.x = level.start[0] * TILE;
    camera.y = level.start[1] * TILE;
    start.addObject(camera);
    map.addLayer(sprites);
    map.addLayer(start);

    lastRead = remember(fileName, text, sprites.objects.map(o => o.id));
    // Tiled 1.8 loses track of layers and tilesets made by a script once their script objects are
    // collected (their entries in map.layers turn null); these stay referenced while the map is open.
    alive[cleanPath(fileName)] = [map, textures, skyTileset, skyTile, floors, ceilings, walls, sprites, start, camera]
        .concat(tiles, sprites.objects);
    return map;
}

function layerNamed(map, name, kind) {
    const layer = map.layers.find(l => l.name === name && l[kind]);
    if (!layer) throw new Error("the map has no " + (kind === "isTileLayer" ? "tile" : "object") + " layer '" + name +
                                "' (open a level from levels/ to start from one)");
    return layer;
}

// The level as the map holds it: textures as absolute paths, cells, sprites and their objects' ids.
function levelOf(map) {
    // Held for the whole walk: a tile finds its tileset only while the tileset's script object lives.
    const tilesets = map.tilesets;
    const textures = tilesets.find(t => t.name === "textures");
    if (!textures) throw new Error("the map has no 'textures' tileset (open a level from levels/ to start from one)");
    const tiles = textures.tiles.slice().sort((a, b) => a.id - b.id);
    const indexOf = {};
    tiles.forEach((tile, i) => { indexOf[tile.id] = i; });
    const level = {textures: tiles.map(tile => {
        if (!tile.imageFileName) throw new Error("texture " + indexOf[tile.id] + " has no picture file");
        return cleanPath(tile.imageFileName);
    })};
    level.sky = parseSky(map.property("sky"));
    level.width = map.width;
    level.height = map.height;

    // A tile's texture index, "sky" for the sky tile, or null for no tile.
    const code = (tile, where) => {
        if (!tile) return null;
        if (!tile.tileset) throw new Error(where + " holds a tile whose tileset is gone");
        if (tile.tileset.name === "sky") return "sky";
        if (tile.tileset.name !== "textures") throw new Error(where + " holds a tile of tileset '" + tile.tileset.name +
                                                              "'; use the 'textures' tileset");
        return indexOf[tile.id];
    };
    const walls = layerNamed(map, "walls", "isTileLayer"), floors = layerNamed(map, "floors", "isTileLayer");
    const ceilings = layerNamed(map, "ceilings", "isTileLayer");
    level.cells = [];
    for (let y = 0; y < map.height; ++y) {
        for (let x = 0; x < map.width; ++x) {
            const where = "cell (" + x + ", " + y + ")";
            const wall = code(walls.tileAt(x, y), where + " on layer walls");
            if (wall === "sky") throw new Error(where + ": the sky tile is a ceiling, not a wall");
            if (wall !== null) {
                level.cells.push({wall: wall});
                continue;
            }
            const floor = code(floors.tileAt(x, y), where + " on layer floors");
            const ceiling = code(ceilings.tileAt(x, y), where + " on layer ceilings");
            if (floor === null) throw new Error(where + " has neither a wall nor a floor");
            if (floor === "sky") throw new Error(where + ": the sky tile is a ceiling, not a floor");
            if (ceiling === null) throw new Error(where + " has a floor but no ceiling (the sky tile makes it open sky)");
            const cell = {floor: floor, ceiling: ceiling === "sky" ? OPEN_SKY : ceiling};
            if (cell.floor > 255 || cell.ceiling > 255)
                throw new Error(where + ": floors and ceilings can show textures 0 to 255 only");
            level.cells.push(cell);
        }
    }

    const place = (object, axis, size) => {
        const v = Math.fround(object[axis] / size);
        if (!isFinite(v)) throw new Error("object '" + object.name + "' has no usable position");
        return v;
    };
    level.sprites = layerNamed(map, "sprites", "isObjectLayer").objects.map(object => {
        const what = "sprite '" + object.name + "' (object " + object.id + ")";
        const texture = object.tile ? code(object.tile, what) : null;
        if (texture === null || texture === "sky")
            throw new Error(what + " has no picture: make it a tile object with a tile of the 'textures' tileset");
        // A new monster gets its type's health (1, 2, 4); anything else is scenery.
        let health = object.property("health");
        if (health === undefined || health === "") health = [1, 2, 4][texture] || 0;
        health = parseIntIn(String(health), 0, 255);
        if (health === null) throw new Error(what + ": health is \"" + object.property("health") + "\"; it takes 0 to 255");
        return {x: place(object, "x", map.tileWidth), y: place(object, "y", map.tileHeight), health: health,
                texture: texture, id: object.id};
    });
    const starts = layerNamed(map, "start", "isObjectLayer").objects;
    if (starts.length !== 1) throw new Error("the layer 'start' holds " + starts.length + " objects; it takes the one start");
    level.start = [place(starts[0], "x", map.tileWidth), place(starts[0], "y", map.tileHeight)];
    return level;
}

function writeLevel(map, fileName) {
    try {
        const level = levelOf(map);
        const template = templateFor(map, level, fileName);
        const text = levelText(level, template, outputRoot(template, fileName));
        writeText(fileName, text);
        remember(fileName, text, level.sprites.map(s => s.id));
    } catch (e) {
        // Tiled shows the returned text in a window; an export from the command line shows only this.
        if (tiled.openAssets.length === 0) console.error("error: " + fileName + ": " + e.message);
        return fileName + ": " + e.message;
    }
    return undefined;
}

tiled.registerMapFormat("brawnwick", {
    name: "Brawnwick level (*.txt)",
    extension: "txt",
    read: readLevel,
    write: writeLevel,
});

// ---------------------------------------------------------------------------------------------
// Play this level: compiles what the editor shows (saved or not) and plays it with brawnwick-play.

// A tool from the build folder beside the levels, or else from PATH.
function toolPath(root, name) {
    const built = root + "/build/" + name;
    return File.exists(built) ? built : name;
}

function run(program, args, folder) {
    const process = new Process();
    process.workingDirectory = folder;
    const code = process.exec(program, args, false);  // an exit code other than 0 is an answer, not an error
    const output = (process.readStdOut() + process.readStdErr()).trim();
    process.close();
    return {code: code, output: output};
}

const PLAY_RESULTS = {0: "won", 1: "lost", 2: "not played: bad command line or level", 3: "quit by the player"};

function playLevel() {
    const map = tiled.activeAsset;
    if (!map || !map.isTileMap) return tiled.alert("Open a level (levels/N.txt) first.");
    if (!map.fileName) return tiled.alert("Save the level under levels/ first, so that its textures are found.");
    let text, root;
    try {
        const level = levelOf(map);
        const template = templateFor(map, level, map.fileName);
        root = outputRoot(template, map.fileName);
        text = levelText(level, template, root);
    } catch (e) {
        tiled.error("Play this level: " + e.message);
        return tiled.alert("The level cannot be played: " + e.message);
    }
    const scratch = run("mktemp", ["-d", "--tmpdir", "brawnwick-play-XXXXXX"], root);
    if (scratch.code !== 0) return tiled.alert("No scratch folder for the level: " + scratch.output);
    try {
        writeText(scratch.output + "/level.txt", text);
        const compile = run(toolPath(root, "brawnwick-map"),
                            ["compile", scratch.output + "/level.txt", scratch.output + "/level.map"], root);
        if (compile.code !== 0) {
            // The compiler names lines of the text a save would write; name the level, not the scratch copy.
            const why = compile.code < 0 ? "brawnwick-map was not found in build/ or on PATH"
                                         : compile.output.split(scratch.output + "/level.txt").join(relativePath(root, map.fileName));
            tiled.error("Play this level: " + why);
            return tiled.alert("The level does not compile:\n" + why);
        }
        const name = relativePath(root, map.fileName);
        tiled.log("Play this level: playing " + name + " (Tiled waits until the game ends)");
        const play = run(toolPath(root, "brawnwick-play"), [scratch.output + "/level.map"], root);
        if (play.output) tiled.log(play.output);
        const result = play.code < 0 ? "brawnwick-play was not found in build/ or on PATH"
                                     : name + ": " + (PLAY_RESULTS[play.code] || "ended") + " (exit " + play.code + ")";
        if (play.code === 0 || play.code === 1 || play.code === 3) tiled.log("Play this level: " + result);
        else tiled.error("Play this level: " + result);
    } finally {
        run("rm", ["-rf", scratch.output], root);
    }
}

const playAction = tiled.registerAction("BrawnwickPlayLevel", playLevel);
playAction.text = "Play this level";
playAction.shortcut = "Ctrl+Shift+P";
tiled.extendMenu("Map", [{separator: true}, {action: "BrawnwickPlayLevel"}]);
