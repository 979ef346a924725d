// The plot page's own code: it builds the whole view from the JSON of the
// plot-data element. Texts from the robot files reach the page only through
// textContent, so no name or comment can become markup or script.
(function () {
  'use strict';
  var started = performance.now();
  var data = JSON.parse(document.getElementById('plot-data').textContent);
  var poses = data.poses;

  var AXIS_COLORS = [0xd62728, 0x2ca02c, 0x1f77b4];
  var GREY = 0x9e9e9e;
  var FAINT_GREY = 0xd0d0d0;
  var PATH_COLOR = 0x8fa3c0;
  var ROLE_COLORS = { added: 0x00a0b0, removed: 0x222222, changed: 0x8d6e63,
                      nominal: 0x1f77b4, measured: 0x222222 };
  var HIGHLIGHT = 0xffc400;
  var RESIDUAL = 0xd81b60;
  var NAMED_POSES = 60;

  function el(tag, className, text) {
    var e = document.createElement(tag);
    if (className) { e.className = className; }
    if (text !== undefined) { e.textContent = text; }
    return e;
  }
  function css(color) { return '#' + ('000000' + color.toString(16)).slice(-6); }
  function number(v, digits) {
    if (v === null || v === undefined) { return '?'; }
    return Number(v.toFixed(digits === undefined ? 3 : digits)).toString();
  }

  // The distance scale of a diff: light orange for the smallest move, dark
  // violet for the largest.
  var RAMP = [[1.0, 0.80, 0.40], [0.85, 0.15, 0.35], [0.29, 0.08, 0.55]];
  function rampColor(t) {
    t = Math.max(0, Math.min(1, t)) * (RAMP.length - 1);
    var i = Math.min(RAMP.length - 2, Math.floor(t)), f = t - i;
    var a = RAMP[i], b = RAMP[i + 1];
    return new THREE.Color(a[0] + (b[0] - a[0]) * f, a[1] + (b[1] - a[1]) * f,
                           a[2] + (b[2] - a[2]) * f);
  }
  function moveColor(distance) {
    return rampColor(data.largestMove > 0 ? distance / data.largestMove : 0);
  }

  document.title = 'plot: ' + data.title;
  document.getElementById('title').textContent = data.title;
  document.getElementById('summary').textContent = data.summary;

  // --- the 3D view ---------------------------------------------------------
  var view = document.getElementById('view');
  var labelLayer = document.getElementById('labels');
  var renderer;
  try {
    renderer = new THREE.WebGLRenderer({ antialias: true });
  } catch (e) {
    document.getElementById('nogl').style.display = 'block';
    return;
  }
  renderer.setPixelRatio(window.devicePixelRatio || 1);
  renderer.setSize(view.clientWidth, view.clientHeight);
  view.appendChild(renderer.domElement);

  var scene = new THREE.Scene();
  scene.background = new THREE.Color(0xffffff);
  var center = new THREE.Vector3((data.low[0] + data.high[0]) / 2, (data.low[1] + data.high[1]) / 2,
                                 (data.low[2] + data.high[2]) / 2);
  var size = Math.max(data.high[0] - data.low[0], data.high[1] - data.low[1],
                      data.high[2] - data.low[2], data.axisLength * 4);
  var camera = new THREE.PerspectiveCamera(40, view.clientWidth / view.clientHeight, size / 1000,
                                           size * 100);
  camera.up.set(0, 0, 1);
  var controls = new THREE.OrbitControls(camera, renderer.domElement);
  controls.screenSpacePanning = true;
  controls.enableKeys = false;

  // Round marks for the points: a disc drawn once on a canvas.
  var discCanvas = document.createElement('canvas');
  discCanvas.width = discCanvas.height = 64;
  var g = discCanvas.getContext('2d');
  g.beginPath();
  g.arc(32, 32, 28, 0, 2 * Math.PI);
  g.fillStyle = '#fff';
  g.fill();
  var disc = new THREE.CanvasTexture(discCanvas);

  function axesOf(q) {
    var w = q[0], x = q[1], y = q[2], z = q[3];
    return [[1 - 2 * (y * y + z * z), 2 * (x * y + w * z), 2 * (x * z - w * y)],
            [2 * (x * y - w * z), 1 - 2 * (x * x + z * z), 2 * (y * z + w * x)],
            [2 * (x * z + w * y), 2 * (y * z - w * x), 1 - 2 * (x * x + y * y)]];
  }

  // Geometry grows in plain arrays and becomes one object a kind and file:
  // 100,000 poses are a few draw calls, not 100,000 objects.
  function Batch() { this.p = []; this.c = []; }
  Batch.prototype.vertex = function (x, y, z, color) {
    this.p.push(x, y, z);
    this.c.push(color.r, color.g, color.b);
  };
  Batch.prototype.geometry = function () {
    var geometry = new THREE.BufferGeometry();
    geometry.setAttribute('position', new THREE.Float32BufferAttribute(this.p, 3));
    geometry.setAttribute('color', new THREE.Float32BufferAttribute(this.c, 3));
    return geometry;
  };
  Batch.prototype.empty = function () { return this.p.length === 0; };

  var colors = {};
  function color(hex) { return colors[hex] || (colors[hex] = new THREE.Color(hex)); }

  function addTriad(batch, p, q, length, tint) {
    var axes = axesOf(q);
    for (var k = 0; k < 3; ++k) {
      var c = color(tint === undefined ? AXIS_COLORS[k] : tint);
      batch.vertex(p[0], p[1], p[2], c);
      batch.vertex(p[0] + axes[k][0] * length, p[1] + axes[k][1] * length,
                   p[2] + axes[k][2] * length, c);
    }
  }

  // A frame's axes as thin square bars, which stay visible where lines of
  // one pixel would not.
  function addBar(batch, p, dir, length, thickness, c) {
    var side = Math.abs(dir[2]) < 0.9 ? [0, 0, 1] : [1, 0, 0];
    var u = new THREE.Vector3().crossVectors(new THREE.Vector3().fromArray(dir),
                                             new THREE.Vector3().fromArray(side)).normalize();
    var v = new THREE.Vector3().crossVectors(new THREE.Vector3().fromArray(dir), u).normalize();
    var h = thickness / 2, corners = [];
    for (var end = 0; end < 2; ++end) {
      var s = end * length;
      for (var k = 0; k < 4; ++k) {
        var a = (k === 0 || k === 3) ? h : -h, b = k < 2 ? h : -h;
        corners.push([p[0] + dir[0] * s + u.x * a + v.x * b, p[1] + dir[1] * s + u.y * a + v.y * b,
                      p[2] + dir[2] * s + u.z * a + v.z * b]);
      }
    }
    var faces = [[0, 1, 5, 4], [1, 2, 6, 5], [2, 3, 7, 6], [3, 0, 4, 7], [4, 5, 6, 7], [0, 3, 2, 1]];
    faces.forEach(function (f) {
      [f[0], f[1], f[2], f[0], f[2], f[3]].forEach(function (i) {
        batch.vertex(corners[i][0], corners[i][1], corners[i][2], c);
      });
    });
  }
  function addFrame(batch, p, q, length) {
    var axes = axesOf(q);
    for (var k = 0; k < 3; ++k) {
      addBar(batch, p, axes[k], length, length / 14, color(AXIS_COLORS[k]));
    }
  }

  function addArrow(batch, from, to, c) {
    batch.vertex(from[0], from[1], from[2], c);
    batch.vertex(to[0], to[1], to[2], c);
    var d = new THREE.Vector3(to[0] - from[0], to[1] - from[1], to[2] - from[2]);
    var length = d.length();
    if (length === 0) { return; }
    d.divideScalar(length);
    var side = Math.abs(d.z) < 0.9 ? new THREE.Vector3(0, 0, 1) : new THREE.Vector3(1, 0, 0);
    var n = new THREE.Vector3().crossVectors(d, side).normalize();
    var head = Math.min(length * 0.3, data.axisLength * 0.4);
    for (var s = -1; s <= 1; s += 2) {
      batch.vertex(to[0], to[1], to[2], c);
      batch.vertex(to[0] - d.x * head + n.x * head * 0.4 * s, to[1] - d.y * head + n.y * head * 0.4 * s,
                   to[2] - d.z * head + n.z * head * 0.4 * s, c);
    }
  }

  var lineMaterial = new THREE.LineBasicMaterial({ vertexColors: THREE.VertexColors });
  var pathMaterial = new THREE.LineBasicMaterial({ color: PATH_COLOR, transparent: true, opacity: 0.55 });
  var meshMaterial = new THREE.MeshBasicMaterial({ vertexColors: THREE.VertexColors, side: THREE.DoubleSide });
  function pointMaterial(pixels) {
    return new THREE.PointsMaterial({ size: pixels, sizeAttenuation: false, vertexColors: THREE.VertexColors,
                                      map: disc, alphaTest: 0.5, transparent: true });
  }
  var dotMaterial = pointMaterial(7);
  var markMaterial = pointMaterial(11);

  // The world: its origin's triad and a grid on its floor.
  var worldBatch = new Batch();
  addFrame(worldBatch, [0, 0, 0], [1, 0, 0, 0], data.axisLength * 3);
  scene.add(new THREE.Mesh(worldBatch.geometry(), meshMaterial));
  var cells = 2 * Math.ceil(size * 0.75 / data.gridSpacing);
  var grid = new THREE.GridHelper(cells * data.gridSpacing, cells, 0xbdbdbd, 0xe6e6e6);
  grid.rotation.x = Math.PI / 2;
  grid.position.set(Math.round(center.x / data.gridSpacing) * data.gridSpacing,
                    Math.round(center.y / data.gridSpacing) * data.gridSpacing, 0);
  scene.add(grid);

  // Per file: its triads, dots, marks, frames and path.
  var fileGroups = data.files.map(function () { var g = new THREE.Group(); scene.add(g); return g; });
  var labels = [];
  function addLabel(p, text, className) {
    var e = el('div', 'label' + (className ? ' ' + className : ''), text);
    labelLayer.appendChild(e);
    labels.push({ p: new THREE.Vector3(p[0], p[1], p[2]), e: e });
    return e;
  }
  addLabel([0, 0, 0], 'world', 'world');

  var fit = data.kind === 'fit';
  var byFile = data.files.map(function () {
    return { triads: new Batch(), frames: new Batch(), dots: new Batch(), marks: new Batch(),
             arrows: new Batch(), path: [] };
  });
  // A small scene names every pose; a large one only its frames.
  var namedPoses = poses.length <= NAMED_POSES;
  function describe(pose) {
    var name = pose.n || pose.t;
    if (pose.r === 'moved') { return name + ' moved ' + number(pose.d, 2) + ' mm'; }
    if (pose.r === 'measured' && pose.n === data.worst) { return 'worst: ' + name + ', ' + number(pose.d) + ' mm'; }
    if (pose.r === 'unchanged' || pose.r === 'pose' || pose.r === 'measured') { return name; }
    return name + ' ' + pose.r;
  }
  var placed = 0;
  poses.forEach(function (pose) {
    var b = byFile[pose.f];
    var role = pose.r;
    if (!pose.p) { return; }
    ++placed;
    var tint = role === 'unchanged' || role === 'removed' ? GREY : undefined;
    var at = pose.p;
    if (pose.q && pose.fr) {
      addFrame(b.frames, at, pose.q, data.axisLength * 2);
      addLabel(at, pose.n || pose.t);
    } else if (pose.q) {
      addTriad(b.triads, at, pose.q, data.axisLength, tint);
    } else if (!fit) {
      b.dots.vertex(at[0], at[1], at[2], color(GREY));
    }
    if (!pose.fr && !fit && role !== 'removed') { b.path.push(at[0], at[1], at[2]); }
    if (!pose.fr && namedPoses && role !== 'nominal') {
      addLabel(at, describe(pose), fit && pose.n === data.worst ? 'worst' : 'pose');
    }
    if (role === 'moved') {
      var c = moveColor(pose.d);
      if (pose.o && pose.oq) { addTriad(b.triads, pose.o, pose.oq, data.axisLength, FAINT_GREY); }
      if (pose.o) { addArrow(b.arrows, pose.o, pose.p, c); }
      b.marks.vertex(pose.p[0], pose.p[1], pose.p[2], c);
    } else if (ROLE_COLORS[role] !== undefined) {
      b.marks.vertex(at[0], at[1], at[2], color(ROLE_COLORS[role]));
    }
    if (fit && role === 'measured' && pose.o) {
      var m = data.magnification;
      var end = [pose.o[0] + (pose.p[0] - pose.o[0]) * m, pose.o[1] + (pose.p[1] - pose.o[1]) * m,
                 pose.o[2] + (pose.p[2] - pose.o[2]) * m];
      addArrow(b.arrows, pose.o, end, color(RESIDUAL));
    }
  });
  byFile.forEach(function (b, i) {
    var group = fileGroups[i];
    if (b.path.length >= 6) {
      var path = new THREE.BufferGeometry();
      path.setAttribute('position', new THREE.Float32BufferAttribute(b.path, 3));
      group.add(new THREE.Line(path, pathMaterial));
    }
    if (!b.triads.empty()) { group.add(new THREE.LineSegments(b.triads.geometry(), lineMaterial)); }
    if (!b.arrows.empty()) { group.add(new THREE.LineSegments(b.arrows.geometry(), lineMaterial)); }
    if (!b.frames.empty()) { group.add(new THREE.Mesh(b.frames.geometry(), meshMaterial)); }
    if (!b.dots.empty()) { group.add(new THREE.Points(b.dots.geometry(), dotMaterial)); }
    if (!b.marks.empty()) { group.add(new THREE.Points(b.marks.geometry(), markMaterial)); }
  });
  byFile = null;

  var highlight = new THREE.Points(new THREE.BufferGeometry(), pointMaterial(15));
  highlight.renderOrder = 1;
  scene.add(highlight);

  // --- camera, rendering on demand ----------------------------------------
  var distance = size * 1.6;
  function look(direction) {
    var d = new THREE.Vector3().fromArray(direction).normalize();
    controls.target.copy(center);
    camera.position.copy(center).addScaledVector(d, distance);
    camera.updateProjectionMatrix();
    controls.update();
  }
  var views = {
    reset: [1, -1.3, 0.9],
    top: [0, -1e-4, 1],
    front: [0, -1, 0],
    'side-view': [1, 0, 0],
  };
  Object.keys(views).forEach(function (id) {
    document.getElementById(id).addEventListener('click', function () { look(views[id]); });
  });
  window.addEventListener('keydown', function (event) {
    if (event.target.tagName !== 'INPUT' && (event.key === 'r' || event.key === 'R')) {
      look(views.reset);
    }
  });

  var pending = false;
  function render() {
    pending = false;
    renderer.render(scene, camera);
    var w = view.clientWidth, h = view.clientHeight, v = new THREE.Vector3();
    labels.forEach(function (label) {
      v.copy(label.p).project(camera);
      var visible = v.z < 1 && Math.abs(v.x) <= 1 && Math.abs(v.y) <= 1;
      label.e.style.display = visible ? 'block' : 'none';
      label.e.style.left = ((v.x + 1) / 2 * w) + 'px';
      label.e.style.top = ((1 - v.y) / 2 * h) + 'px';
    });
  }
  function requestRender() {
    if (!pending) { pending = true; requestAnimationFrame(render); }
  }
  controls.addEventListener('change', requestRender);
  window.addEventListener('resize', function () {
    camera.aspect = view.clientWidth / view.clientHeight;
    camera.updateProjectionMatrix();
    renderer.setSize(view.clientWidth, view.clientHeight);
    requestRender();
  });

  // --- finding a pose under the pointer -----------------------------------
  var fileShown = data.files.map(function () { return true; });
  var matrix = new THREE.Matrix4();
  function where(pose) { return pose.p; }
  function screenOf(p, m, w, h) {
    var e = m.elements;
    var cw = e[3] * p[0] + e[7] * p[1] + e[11] * p[2] + e[15];
    if (cw <= 0) { return null; }
    var x = (e[0] * p[0] + e[4] * p[1] + e[8] * p[2] + e[12]) / cw;
    var y = (e[1] * p[0] + e[5] * p[1] + e[9] * p[2] + e[13]) / cw;
    return { x: (x + 1) / 2 * w, y: (1 - y) / 2 * h };
  }
  function currentMatrix() {
    camera.updateMatrixWorld();
    return matrix.multiplyMatrices(camera.projectionMatrix, camera.matrixWorldInverse);
  }
  // The nearest shown pose within a few pixels of (x, y) in the view.
  function poseAt(x, y) {
    var m = currentMatrix(), w = view.clientWidth, h = view.clientHeight;
    var best = -1, bestDistance = 10 * 10;
    for (var i = 0; i < poses.length; ++i) {
      var pose = poses[i];
      if (!pose.p || !fileShown[pose.f]) { continue; }
      var s = screenOf(where(pose), m, w, h);
      if (!s) { continue; }
      var d = (s.x - x) * (s.x - x) + (s.y - y) * (s.y - y);
      if (d < bestDistance) { bestDistance = d; best = i; }
    }
    return best;
  }

  var tip = document.getElementById('tip');
  function showTip(index, x, y) {
    tip.textContent = '';
    if (index < 0) { tip.style.display = 'none'; return; }
    var pose = poses[index];
    var file = data.files[pose.f];
    tip.appendChild(el('div', 'name', pose.n || '(inline value)'));
    if (pose.c) { tip.appendChild(el('div', '', '"' + pose.c + '"')); }
    tip.appendChild(el('div', '', file.path + ':' + pose.l));
    tip.appendChild(el('div', '', pose.t + ', ' + pose.s + (pose.r !== 'pose' ? ', ' + pose.r : '')));
    var members = data.members[pose.m].split(' ');
    var text = members.map(function (name, k) { return name + ' ' + number(pose.v[k], 4); }).join('  ');
    tip.appendChild(el('div', 'values', text));
    if (pose.r === 'moved') {
      tip.appendChild(el('div', '', 'moved ' + number(pose.d) + ' mm, turned ' + number(pose.a) +
                                    ' deg (was line ' + pose.ol + ')'));
    } else if (pose.r === 'measured') {
      tip.appendChild(el('div', '', 'residual ' + number(pose.d) + ' mm'));
    }
    tip.style.display = 'block';
    var box = view.getBoundingClientRect();
    tip.style.left = Math.min(box.left + x + 14, box.right - tip.offsetWidth - 4) + 'px';
    tip.style.top = Math.min(box.top + y + 14, box.bottom - tip.offsetHeight - 4) + 'px';
  }
  var pointer = null, down = null;
  function pick() {
    if (pointer) { showTip(poseAt(pointer.x, pointer.y), pointer.x, pointer.y); }
    pointer = null;
  }
  renderer.domElement.addEventListener('pointermove', function (event) {
    if (event.pointerType !== 'mouse' || event.buttons !== 0) { return; }
    var box = view.getBoundingClientRect();
    if (!pointer) { requestAnimationFrame(pick); }
    pointer = { x: event.clientX - box.left, y: event.clientY - box.top };
  });
  renderer.domElement.addEventListener('pointerdown', function (event) {
    down = { x: event.clientX, y: event.clientY };
  });
  // A tap (a press without a drag) shows the pose under the finger.
  renderer.domElement.addEventListener('pointerup', function (event) {
    if (down && Math.abs(event.clientX - down.x) + Math.abs(event.clientY - down.y) < 6) {
      var box = view.getBoundingClientRect();
      pointer = { x: event.clientX - box.left, y: event.clientY - box.top };
      pick();
    }
    down = null;
  });
  renderer.domElement.addEventListener('pointerleave', function () { tip.style.display = 'none'; });

  // --- search by name pattern ----------------------------------------------
  function patternOf(text) {
    var source = text.replace(/[.+^${}()|[\]\\]/g, '\\$&').replace(/\*/g, '.*').replace(/\?/g, '.');
    return new RegExp(/[*?]/.test(text) ? '^' + source + '$' : source, 'i');
  }
  var search = document.getElementById('search');
  var matches = document.getElementById('matches');
  function findPoses() {
    var text = search.value.trim();
    var found = [];
    if (text !== '') {
      var pattern = patternOf(text);
      var hex = color(HIGHLIGHT);
      var batch = new Batch();
      poses.forEach(function (pose) {
        if (pose.p && fileShown[pose.f] && pattern.test(pose.n)) {
          var p = where(pose);
          batch.vertex(p[0], p[1], p[2], hex);
          found.push(pose);
        }
      });
      highlight.geometry.dispose();
      highlight.geometry = batch.geometry();
    } else {
      highlight.geometry.dispose();
      highlight.geometry = new THREE.BufferGeometry();
    }
    matches.textContent = text === '' ? '' : found.length + (found.length === 1 ? ' pose matches' : ' poses match');
    requestRender();
    return found.length;
  }
  search.addEventListener('input', findPoses);

  // --- the side list: legend and files -------------------------------------
  var legend = document.getElementById('legend');
  function legendRow(swatch, text) {
    var row = el('div');
    row.appendChild(swatch);
    row.appendChild(el('span', '', text));
    legend.appendChild(row);
  }
  function bar(hex) { var s = el('span', 'swatch'); s.style.background = css(hex); return s; }
  function dot(hex) { var s = el('span', 'dot'); s.style.background = css(hex); return s; }
  legendRow(bar(AXIS_COLORS[0]), 'X');
  legendRow(bar(AXIS_COLORS[1]), 'Y');
  legendRow(bar(AXIS_COLORS[2]), 'Z');
  legendRow(bar(0xbdbdbd), 'grid ' + number(data.gridSpacing) + ' mm, triads ' +
                           number(data.axisLength) + ' mm, frames twice as long');
  if (data.kind === 'list') {
    legendRow(dot(GREY), 'partial, uninitialised or not unit: position only');
    legendRow(bar(PATH_COLOR), 'path: the poses of one file in file order');
  } else if (data.kind === 'diff') {
    legendRow(bar(GREY), 'unchanged (grey triad)');
    legendRow(dot(ROLE_COLORS.added), 'added');
    legendRow(dot(ROLE_COLORS.removed), 'removed (grey triad where it was)');
    legendRow(dot(ROLE_COLORS.changed), 'changed configuration, external axes or values');
    var scale = el('div');
    scale.id = 'scale';
    var stops = [];
    for (var k = 0; k <= 10; ++k) { stops.push(rampColor(k / 10).getStyle()); }
    scale.style.background = 'linear-gradient(to right, ' + stops.join(', ') + ')';
    legend.appendChild(el('div', '', 'moved: distance (mm), arrow from old to new'));
    legend.appendChild(scale);
    var scaleLabels = el('div');
    scaleLabels.id = 'scale-labels';
    [0, 0.5, 1].forEach(function (t) { scaleLabels.appendChild(el('span', '', number(t * data.largestMove))); });
    legend.appendChild(scaleLabels);
  } else if (fit) {
    legendRow(dot(ROLE_COLORS.nominal), 'nominal points, moved by the fitted frame');
    legendRow(dot(ROLE_COLORS.measured), 'measured points');
    legendRow(bar(RESIDUAL), 'residual, drawn ' + number(data.magnification, 1) + ' times longer');
  }

  var fileList = document.getElementById('files');
  var counts = data.files.map(function () { return 0; });
  poses.forEach(function (pose) { ++counts[pose.f]; });
  data.files.forEach(function (file, i) {
    var row = el('label');
    var box = el('input');
    box.type = 'checkbox';
    box.checked = true;
    box.addEventListener('change', function () {
      fileShown[i] = box.checked;
      fileGroups[i].visible = box.checked;
      findPoses();
    });
    row.appendChild(box);
    row.appendChild(el('span', '', file.path));
    row.appendChild(el('span', 'count', String(counts[i])));
    fileList.appendChild(row);
  });

  look(views.reset);
  render();
  var firstFrame = performance.now();
  document.body.setAttribute('data-first-frame-ms', (firstFrame - performance.timing.navigationStart).toFixed(0));
  document.body.setAttribute('data-build-ms', (firstFrame - started).toFixed(0));

  // Read-only, for tests and scripts that check what the page drew.
  window.posebridgePlot = Object.freeze({
    poseCount: poses.length,
    placedCount: placed,
    screenPositionOf: function (name) {
      var m = currentMatrix(), box = view.getBoundingClientRect();
      for (var i = 0; i < poses.length; ++i) {
        if (poses[i].n === name && poses[i].p) {
          var s = screenOf(where(poses[i]), m, view.clientWidth, view.clientHeight);
          return s && { x: box.left + s.x, y: box.top + s.y };
        }
      }
      return null;
    },
    find: function (pattern) { search.value = pattern; return findPoses(); },
  });
})();
