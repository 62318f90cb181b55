// sdl_desktop: the browser build's SDL 1.2 given the desktop library's
// semantics where the toolkit and the programs rely on them.
//
// Emscripten's built-in SDL draws through each surface's canvas: it ignores
// colour keys, blends with the canvas's own rounding, loses the colours
// under soft alpha, neither clips a blit's source rectangle nor writes the
// clipped destination back, and keeps no error reason. Here the pixels of
// every surface live in its memory buffer (one 32-bit RGBA word a pixel, as
// Emscripten lays them out), the functions below draw into those buffers as
// the desktop library's software blitter does, and the display's buffer is
// uploaded to its canvas once per flip.
// Emscripten's own functions stay for the rest of what the toolkit and the
// programs call: per-surface alpha, freeing and events; its clock and its
// delay are wrapped, for the page to keep the time when it records.
// Functions that go through a surface's canvas, such as SDL_ConvertSurface,
// SDL_DisplayFormatAlpha or SDL_UpdateRect, would see or show a stale
// canvas once the buffer holds the pixels: this layer does not serve them
// (the toolkit keeps soft-edged pictures as they are on the browser's 32-bit
// display).

mergeInto(LibraryManager.library, {
  $Desktop__deps: ['$SDL'],
  $Desktop: {
    // SDL_SRCCOLORKEY and SDL_SRCALPHA in this SDL's headers.
    SRCCOLORKEY: 0x00020000,
    SRCALPHA: 0x00010000,

    // Makes the surface's buffer hold its pixels: the first time, what its
    // canvas holds (a loaded image, or the display's black) is copied into
    // it, opaque as the desktop's surfaces are, and from then on the buffer
    // is the surface's one copy. False, with the reason set, when memory
    // runs out for the buffer.
    inMemory: function(surf) {
      var data = SDL.surfaces[surf];
      if (data.inMemory) return true;
      if (!data.buffer) data.buffer = _malloc(data.width * data.height * 4);
      if (!data.buffer) {
        Desktop.setError(intArrayFromString('Out of memory', true));
        return false;
      }
      {{{ makeSetValue('surf', C_STRUCTS.SDL_Surface.pixels, 'data.buffer', 'void*') }}};
      HEAPU8.set(data.ctx.getImageData(0, 0, data.width, data.height).data, data.buffer);
      for (var i = data.buffer + 3, end = i + data.width * data.height * 4; i < end; i += 4) HEAPU8[i] = 255;
      return data.inMemory = true;
    },

    // The pixels of a surface in memory, as 32-bit words. Memory that grows
    // moves the heap: a view is taken after every allocation.
    pixels: function(surf) {
      var data = SDL.surfaces[surf];
      return HEAPU32.subarray(data.buffer >> 2, (data.buffer >> 2) + data.width * data.height);
    },

    // Draws the w x h pixels at (sx, sy) of `source` (a row of `pitch`
    // pixels) at (dx, dy) of `target` (rows of `targetPitch`) as the
    // desktop library blends a surface by its pixels' alpha: a transparent
    // pixel is skipped, an opaque one copied, any other blended as
    // d + (s - d) * a / 256, rounded down; key and per-surface alpha unused.
    blendByAlpha: function(source, pitch, sx, sy, target, targetPitch, dx, dy, w, h) {
      for (var row = 0; row < h; ++row) {
        var i = (sy + row) * pitch + sx, j = (dy + row) * targetPitch + dx;
        for (var end = i + w; i < end; ++i, ++j) {
          var p = source[i], a = p >>> 24;
          if (a === 0) continue;
          var q = target[j];
          if (a === 255) {
            target[j] = (q & 0xff000000) | (p & 0xffffff);
            continue;
          }
          var mixed = q & 0xff000000;
          for (var shift = 0; shift < 24; shift += 8) {
            var under = (q >>> shift) & 0xff, over = (p >>> shift) & 0xff;
            mixed |= (under + ((over - under) * a >> 8)) << shift;
          }
          target[j] = mixed;
        }
      }
    },

    // Keeps the text `bytes` as the reason SDL_GetError returns (the last
    // one stays when memory runs out for it).
    setError: function(bytes) {
      var text = _malloc(bytes.length + 1);
      if (!text) return;
      HEAPU8.set(bytes, text);
      HEAPU8[text + bytes.length] = 0;
      if (SDL.errorMessage) _free(SDL.errorMessage);
      SDL.errorMessage = text;
    },
  },

  // Replaces Emscripten's, which does nothing: key colours would show. The
  // key is compared with each source pixel's colour by SDL_UpperBlit; the
  // RLE hint has no meaning here.
  SDL_SetColorKey__deps: ['$Desktop'],
  SDL_SetColorKey: function(surf, flag, key) {
    SDL.surfaces[surf].colorKey = (flag & Desktop.SRCCOLORKEY) ? (key & 0xffffff) : -1;
    return 0;
  },

  // Replaces Emscripten's, which draws the canvas with its global alpha
  // (blends off by a level or two, no key, the source rectangle unclipped,
  // the clipped destination not written back). As the desktop's
  // SDL_UpperBlit: the source rectangle is clipped to the source, the
  // destination to the target, the clipped destination is written back into
  // `dstrect` (an empty one as 0 x 0), and each pixel is copied, skipped
  // when it has the key, or blended with the surface's alpha as
  // d + (s - d) * a / 255 in integers.
  SDL_UpperBlit__deps: ['$Desktop'],
  SDL_UpperBlit: function(src, srcrect, dst, dstrect) {
    if (!src || !dst) {
      Desktop.setError(intArrayFromString('SDL_UpperBlit: passed a NULL surface', true));
      return -1;
    }
    var from = SDL.surfaces[src], to = SDL.surfaces[dst];
    var d = dstrect ? SDL.loadRect(dstrect) : {x: 0, y: 0};
    var sx = 0, sy = 0, w = from.width, h = from.height;
    if (srcrect) {
      var s = SDL.loadRect(srcrect);
      sx = s.x; sy = s.y; w = s.w; h = s.h;
      if (sx < 0) { w += sx; d.x -= sx; sx = 0; }
      if (sy < 0) { h += sy; d.y -= sy; sy = 0; }
      w = Math.min(w, from.width - sx);
      h = Math.min(h, from.height - sy);
    }
    if (d.x < 0) { w += d.x; sx -= d.x; d.x = 0; }
    if (d.y < 0) { h += d.y; sy -= d.y; d.y = 0; }
    w = Math.min(w, to.width - d.x);
    h = Math.min(h, to.height - d.y);
    var empty = w <= 0 || h <= 0;
    d.w = empty ? 0 : w;
    d.h = empty ? 0 : h;
    if (dstrect) SDL.updateRect(dstrect, d);
    if (empty) return 0;

    if (!Desktop.inMemory(src) || !Desktop.inMemory(dst)) return -1;
    var source = Desktop.pixels(src), target = Desktop.pixels(dst);
    var flags = {{{ makeGetValue('src', C_STRUCTS.SDL_Surface.flags, 'i32') }}};
    if (from.alphaChannel && (flags & Desktop.SRCALPHA)) {
      Desktop.blendByAlpha(source, from.width, sx, sy, target, to.width, d.x, d.y, w, h);
      return 0;
    }
    var key = from.colorKey === undefined ? -1 : from.colorKey, alpha = from.alpha;
    for (var row = 0; row < h; ++row) {
      var i = (sy + row) * from.width + sx, j = (d.y + row) * to.width + d.x;
      for (var end = i + w; i < end; ++i, ++j) {
        var p = source[i];
        if ((p & 0xffffff) === key) continue;
        var q = target[j], mixed = q & 0xff000000;
        for (var shift = 0; shift < 24; shift += 8) {
          var under = (q >>> shift) & 0xff, over = (p >>> shift) & 0xff;
          mixed |= (under + ((over - under) * alpha / 255 | 0)) << shift;
        }
        target[j] = mixed;
      }
    }
    return 0;
  },

  // Replaces Emscripten's, which fills the canvas: the fill must reach the
  // buffer that the blits draw into. Fills the rectangle, clipped to the
  // surface and written back, or the whole surface, with a colour of
  // SDL_MapRGB.
  SDL_FillRect__deps: ['$Desktop'],
  SDL_FillRect: function(surf, rect, color) {
    var data = SDL.surfaces[surf];
    var r = rect ? SDL.loadRect(rect) : {x: 0, y: 0, w: data.width, h: data.height};
    var x0 = Math.max(r.x, 0), y0 = Math.max(r.y, 0);
    var x1 = Math.min(r.x + r.w, data.width), y1 = Math.min(r.y + r.h, data.height);
    if (rect) SDL.updateRect(rect, {x: x0, y: y0, w: Math.max(x1 - x0, 0), h: Math.max(y1 - y0, 0)});
    if (!Desktop.inMemory(surf)) return -1;
    var pixels = Desktop.pixels(surf);
    for (var y = y0; y < y1; ++y) pixels.fill(color, y * data.width + x0, y * data.width + x1);
    return 0;
  },

  // Replaces Emscripten's, which does nothing (its blits draw onto the page's
  // canvas at once): the display's buffer goes to the canvas, one upload a
  // frame. The page may look at each frame through
  // Module.onFlip(rgba, width, height).
  SDL_Flip__deps: ['$Desktop'],
  SDL_Flip: function(surf) {
    var data = SDL.surfaces[surf];
    if (!Desktop.inMemory(surf)) return -1;
    var rgba = new Uint8ClampedArray(HEAPU8.buffer, data.buffer, data.width * data.height * 4);
    data.ctx.putImageData(new ImageData(rgba, data.width, data.height), 0, 0);
    if (Module['onFlip']) Module['onFlip'](rgba, data.width, data.height);
    return 0;
  },

  // Replaces Emscripten's loader, which draws the decoded image into a
  // canvas (whose premultiplied pixels lose the colours under soft alpha)
  // and gives no reason when stb_image cannot decode a file. The file is
  // decoded by stb_image into the surface's buffer, which holds its pixels
  // from then on; an image with an alpha channel keeps it and is blended by
  // it (SDL_SRCALPHA set, as the desktop library sets it), any other is
  // opaque. stb_image's reason is kept when it cannot decode (it takes no
  // 1-bit, run-length or 52-byte-header BMP). The page may refuse a load,
  // as the desktop's test harness does, through Module.onLoad(), which
  // returns the reason to fail with. The stream is closed as the loader's
  // contract asks.
  SDL_LoadBMP_RW__deps: ['$Desktop', 'SDL_FreeRW'],
  SDL_LoadBMP_RW: function(rw, freesrc) {
    var refusal = Module['onLoad'] && Module['onLoad']();
    var source = SDL.rwops[rw], image = 0, reason = refusal;
    if (!refusal) {
      var sizes = _malloc(12);
      var decoded = sizes && _stbi_load_from_memory(source.bytes, source.count, sizes, sizes + 4, sizes + 8, 4);
      if (!decoded) {
        reason = sizes ? 'cannot decode: ' + UTF8ToString(_stbi_failure_reason()) : 'Out of memory';
      } else {
        var width = HEAP32[sizes >> 2], height = HEAP32[(sizes >> 2) + 1], channels = HEAP32[(sizes >> 2) + 2];
        image = SDL.makeSurface(width, height, 0, false, 'load');
        var data = SDL.surfaces[image];
        HEAPU8.set(HEAPU8.subarray(decoded, decoded + width * height * 4), data.buffer);
        _stbi_image_free(decoded);
        data.alphaChannel = channels == 4;
        if (data.alphaChannel) {
          var flags = {{{ makeGetValue('image', C_STRUCTS.SDL_Surface.flags, 'i32') }}};
          {{{ makeSetValue('image', C_STRUCTS.SDL_Surface.flags, 'flags | Desktop.SRCALPHA', 'i32') }}};
        } else {
          for (var i = data.buffer + 3, end = i + width * height * 4; i < end; i += 4) HEAPU8[i] = 255;
        }
        data.inMemory = true;
      }
      _free(sizes);
    }
    if (freesrc) _SDL_FreeRW(rw);
    if (reason) Desktop.setError(intArrayFromString(reason, true));
    return image;
  },

  // Missing from Emscripten's SDL: a copy of the surface in the display's
  // format, which every surface here has (32-bit RGBA words). The toolkit
  // converts only opaque pictures, before it keys them: the copy is of the
  // pixels alone, opaque, with neither key nor alpha.
  SDL_DisplayFormat__deps: ['$Desktop', 'SDL_FreeSurface'],
  SDL_DisplayFormat: function(surf) {
    var from = SDL.surfaces[surf];
    if (!Desktop.inMemory(surf)) return 0;
    var copy = SDL.makeSurface(from.width, from.height, 0, false, 'copy:' + from.source);
    var data = SDL.surfaces[copy];
    if (!data.buffer) {
      _SDL_FreeSurface(copy);
      Desktop.setError(intArrayFromString('Out of memory', true));
      return 0;
    }
    HEAPU8.copyWithin(data.buffer, from.buffer, from.buffer + from.width * from.height * 4);
    data.inMemory = true;
    return copy;
  },

  // Replace Emscripten's, which copy the surface's canvas into its buffer
  // and back: the buffer holds the pixels here, and is the surface's pixels
  // while locked and after.
  SDL_LockSurface__deps: ['$Desktop'],
  SDL_LockSurface: function(surf) {
    return Desktop.inMemory(surf) ? 0 : -1;
  },
  SDL_UnlockSurface: function(surf) {},

  // Wraps Emscripten's: the page may close the program as a window is
  // closed, through Module.onPoll(), which returns true when this poll is to
  // bring a quit; it comes ahead of any event waiting.
  SDL_PollEvent__deps: ['$Desktop'],
  SDL_PollEvent: function(event) {
    if (Module['onPoll'] && Module['onPoll']()) SDL.events.unshift({type: 'unload'});
    return SDL.pollEvent(event);
  },

  // Wrap Emscripten's: the page may keep the program's clock, as the
  // desktop's test harness does, through Module.ticks() (the time to
  // return) and Module.onDelay(ms) (told of every pause before it is made).
  SDL_GetTicks__deps: ['$SDL'],
  SDL_GetTicks: function() {
    return Module['ticks'] ? Module['ticks']() : (Date.now() - SDL.startTime) | 0;
  },
  // Asyncify calls a pause again as the program resumes from it: the page
  // is told of it once, before it is made.
  SDL_Delay__deps: ['emscripten_sleep', '$Asyncify'],
  SDL_Delay: function(delay) {
    if (Module['onDelay'] && Asyncify.state !== Asyncify.State.Rewinding) Module['onDelay'](delay);
    _emscripten_sleep(delay);
  },

  // Replaces Emscripten's, which writes "SDL_Quit called (and ignored)" to
  // the page after a failure's reason; the desktop's writes nothing.
  SDL_Quit__deps: ['SDL_AudioQuit'],
  SDL_Quit: function() {
    _SDL_AudioQuit();
  },

  // Replaces Emscripten's, which keeps nothing (SDL_GetError would say
  // "unknown SDL-emscripten error"): the formatted reason is kept, and
  // Emscripten's SDL_GetError returns it.
  SDL_SetError__deps: ['$Desktop', '$formatString'],
  SDL_SetError: function(format, varargs) {
    Desktop.setError(formatString(format, varargs));
  },

  // Missing from Emscripten's SDL: SDL_OutOfMemory and its kind, with the
  // desktop library's reasons.
  SDL_Error__deps: ['$Desktop'],
  SDL_Error: function(code) {
    var reasons = ['Out of memory', 'Error reading from datastream', 'Error writing to datastream',
                   'Error seeking in datastream', 'That operation is not supported'];
    Desktop.setError(intArrayFromString(reasons[code] || 'Unknown SDL error', true));
  },
});
