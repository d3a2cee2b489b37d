// The canvas's WebGL2 presenter (used by canvas_library.js): the 8-bit
// frame goes up as it is, one byte a pixel, into an unsigned-integer
// texture, the palette as a 256x1 texture of its colours, and the fragment
// shader looks each pixel's colour up. A quarter of the bytes of an RGBA
// frame, and no conversion on the CPU. Integer fetches and 8-bit colours
// that go through unchanged keep every pixel exactly the palette's colour.
mergeInto(LibraryManager.library, {
  // The question of WebGL2 in hardware is asked before the program starts,
  // when the program will ask it (it draws with WebGL2 by its own choice)
  // and no program on the same canvas drew before it.
  $CanvasGl__postset: 'addOnPreRun(function() {' +
    '  var canvas = Module["canvas"];' +
    '  if (Module["webgl"] === undefined && canvas && !canvas["ondulixPresenter"]) {' +
    '    CanvasGl.hardware();' +
    '  }' +
    '});',
  $CanvasGl: {
    vertexShader: '#version 300 es\n' +
      // One triangle that covers the whole viewport.
      'void main() {\n' +
      '  gl_Position = vec4(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0, 0.0, 1.0);\n' +
      '}\n',
    fragmentShader: '#version 300 es\n' +
      'precision highp float;\n' +
      'precision highp usampler2D;\n' +
      'uniform usampler2D indices;\n' +
      'uniform sampler2D palette;\n' +
      'out vec4 colour;\n' +
      'void main() {\n' +
      '  ivec2 size = textureSize(indices, 0);\n' +
      // The frame's first row is the top one; GL counts rows from the bottom.
      '  ivec2 at = ivec2(gl_FragCoord.x, float(size.y) - gl_FragCoord.y);\n' +
      '  uint index = texelFetch(indices, at, 0).r;\n' +
      '  colour = vec4(texelFetch(palette, ivec2(int(index), 0), 0).rgb, 1.0);\n' +
      '}\n',

    // The presenter on `canvas`, or null where WebGL2 is missing or fails,
    // or, unless `evenInSoftware`, where the browser draws it in software.
    // That is no gain: with no GPU to composite with, the browser reads
    // every frame back from its software GL, on the page's main thread, and
    // waits for it (measured: 10 ms a frame in headless Chromium).
    create: function(canvas, evenInSoftware) {
      // A program started again on the same canvas (Run again) draws with
      // the presenter the one before it made: the canvas keeps its context.
      if (canvas['ondulixPresenter']) return canvas['ondulixPresenter'];
      // A canvas keeps the first kind of context it gives: whether WebGL2 is
      // in software is asked of another one, which is let go at once.
      if (!evenInSoftware && !CanvasGl.hardware()) return null;
      var gl = canvas.getContext('webgl2', CanvasGl.attributes(evenInSoftware));
      if (!gl) return null;
      var presenter = {gl: gl, program: null, indices: null, palette: null, width: 0, height: 0};
      // A lost context (the GPU reset) is given back empty: everything again.
      canvas.addEventListener('webglcontextlost', function(event) { event.preventDefault(); });
      canvas.addEventListener('webglcontextrestored', function() {
        presenter.width = presenter.height = 0;
        CanvasGl.setUp(presenter);
      });
      if (!CanvasGl.setUp(presenter)) return null;
      canvas['ondulixPresenter'] = presenter;
      return presenter;
    },

    attributes: function(evenInSoftware) {
      // The drawing is kept after it is shown, so that the canvas reads back
      // (toDataURL, "Save image as") as the frame it shows, not as black.
      return {alpha: false, antialias: false, depth: false, stencil: false,
              premultipliedAlpha: false, preserveDrawingBuffer: true,
              failIfMajorPerformanceCaveat: !evenInSoftware, powerPreference: 'low-power'};
    },

    // Whether the browser's WebGL2 runs on a GPU, asked once per program:
    // before it starts (see the postset below), in a task of its own, as
    // the question alone can take tens of milliseconds on a busy machine.
    inHardwareAnswer: null,
    hardware: function() {
      if (CanvasGl.inHardwareAnswer === null) CanvasGl.inHardwareAnswer = CanvasGl.inHardware();
      return CanvasGl.inHardwareAnswer;
    },

    // Some browsers refuse a context with a major performance caveat;
    // Chromium gives its software one (SwiftShader) anyway, and names it.
    inHardware: function() {
      var gl = document.createElement('canvas').getContext('webgl2', CanvasGl.attributes(false));
      if (!gl) return false;
      var info = gl.getExtension('WEBGL_debug_renderer_info');
      var renderer = String(gl.getParameter(info ? info.UNMASKED_RENDERER_WEBGL : gl.RENDERER));
      var lose = gl.getExtension('WEBGL_lose_context');
      if (lose) lose.loseContext();
      return !/swiftshader|llvmpipe|softpipe|software|basic render/i.test(renderer);
    },

    setUp: function(presenter) {
      var gl = presenter.gl;
      var program = gl.createProgram();
      [[gl.VERTEX_SHADER, CanvasGl.vertexShader],
       [gl.FRAGMENT_SHADER, CanvasGl.fragmentShader]].forEach(function(stage) {
        var shader = gl.createShader(stage[0]);
        gl.shaderSource(shader, stage[1]);
        gl.compileShader(shader);
        gl.attachShader(program, shader);
      });
      gl.linkProgram(program);
      if (!gl.getProgramParameter(program, gl.LINK_STATUS)) return false;
      gl.useProgram(program);
      gl.uniform1i(gl.getUniformLocation(program, 'indices'), 0);
      gl.uniform1i(gl.getUniformLocation(program, 'palette'), 1);
      presenter.program = program;
      presenter.indices = CanvasGl.texture(gl, gl.TEXTURE0);
      presenter.palette = CanvasGl.texture(gl, gl.TEXTURE1);
      gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA8, 256, 1, 0, gl.RGBA, gl.UNSIGNED_BYTE, null);
      gl.pixelStorei(gl.UNPACK_ALIGNMENT, 1);
      return true;
    },

    texture: function(gl, unit) {
      var texture = gl.createTexture();
      gl.activeTexture(unit);
      gl.bindTexture(gl.TEXTURE_2D, texture);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.NEAREST);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
      return texture;
    },

    // Draws `frame` ({pixels, width, height, table}: offsets into `heap`)
    // over the whole canvas.
    draw: function(presenter, heap, frame) {
      var gl = presenter.gl;
      if (gl.isContextLost()) return;
      gl.activeTexture(gl.TEXTURE0);
      if (presenter.width !== frame.width || presenter.height !== frame.height) {
        gl.texImage2D(gl.TEXTURE_2D, 0, gl.R8UI, frame.width, frame.height, 0, gl.RED_INTEGER,
                      gl.UNSIGNED_BYTE, null);
        presenter.width = frame.width;
        presenter.height = frame.height;
      }
      gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, frame.width, frame.height, gl.RED_INTEGER,
                       gl.UNSIGNED_BYTE, heap, frame.pixels);
      gl.activeTexture(gl.TEXTURE1);
      gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, 256, 1, gl.RGBA, gl.UNSIGNED_BYTE, heap,
                       frame.table);
      gl.viewport(0, 0, gl.drawingBufferWidth, gl.drawingBufferHeight);
      gl.drawArrays(gl.TRIANGLES, 0, 3);
    },

    fill: function(presenter, red, green, blue) {
      var gl = presenter.gl;
      gl.clearColor(red / 255, green / 255, blue / 255, 1);
      gl.clear(gl.COLOR_BUFFER_BIT);
    },
  },
});
