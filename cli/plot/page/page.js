// The plot page's own code: it builds the whole view from the JSON of the
// plot-data element. Texts from the robot files reach the page only through
// textContent, so no name or comment can become markup or script.
(function () {
  'use strict';
  var started = performance.now();
  var data = JSON.parse(document.getElementById('plot-data').textContent);
  var poses = data.poses;
  var count = poses.length;
  var groups = data.groups || [];

  var AXIS_COLORS = [0xd62728, 0x2ca02c, 0x1f77b4];
  var GREY = 0x9e9e9e;
  var FAINT_GREY = 0xd0d0d0;
  var PATH_COLOR = 0x8fa3c0;
  var ROLE_COLORS = { added: 0x00a0b0, removed: 0x222222, changed: 0x8d6e63,
                      nominal: 0x1f77b4, measured: 0x222222 };
  var HIGHLIGHT = 0xffc400;
  var RESIDUAL = 0xd81b60;
  var NAMED_POSES = 60;
  var SMOOTHED_POSES = 20000;

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
  // What the data leaves out is the usual: ok, a plain pose, the first set.
  function statusOf(pose) { return pose.s || 'ok'; }
  function roleOf(pose) { return pose.r || 'pose'; }
  function nameOf(pose) { return pose.n || ''; }

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

  // --- where each pose is drawn --------------------------------------------
  // Each pose's group, from the runs (group, count, ...); -1: none (diff, fit).
  var groupOf = new Int32Array(count).fill(-1);
  (function () {
    var runs = data.groupRuns || [], at = 0;
    for (var r = 0; r + 1 < runs.length; r += 2) {
      for (var n = 0; n < runs[r + 1] && at < count; ++n) { groupOf[at++] = runs[r]; }
    }
  })();

  // Unit quaternions, scalar first.
  function multiplyTurns(a, b) {
    return [a[0] * b[0] - a[1] * b[1] - a[2] * b[2] - a[3] * b[3],
            a[0] * b[1] + a[1] * b[0] + a[2] * b[3] - a[3] * b[2],
            a[0] * b[2] - a[1] * b[3] + a[2] * b[0] + a[3] * b[1],
            a[0] * b[3] + a[1] * b[2] - a[2] * b[1] + a[3] * b[0]];
  }
  function turned(q, p) {
    var v = multiplyTurns(multiplyTurns(q, [0, p[0], p[1], p[2]]), [q[0], -q[1], -q[2], -q[3]]);
    return [v[1], v[2], v[3]];
  }
  // Rz(a) Ry(b) Rx(c), angles in degrees, as the program's math does.
  function eulerTurn(a, b, c) {
    var h = Math.PI / 360;
    var ca = Math.cos(a * h), sa = Math.sin(a * h), cb = Math.cos(b * h), sb = Math.sin(b * h);
    var cc = Math.cos(c * h), sc = Math.sin(c * h);
    return [ca * cb * cc + sa * sb * sc, ca * cb * sc - sa * sb * cc,
            ca * sb * cc + sa * cb * sc, sa * cb * cc - ca * sb * sc];
  }
  // The program leaves a pose's place and turn out of the data where its
  // values are one of the vendors' own sets: the page turns them itself.
  var VENDOR_SETS = {
    'X Y Z A B C': function (v) { return eulerTurn(v[3], v[4], v[5]); },
    'X Y Z W P R': function (v) { return eulerTurn(v[5], v[4], v[3]); },
    'X Y Z Q1 Q2 Q3 Q4': function (v) {
      var n = Math.hypot(v[3], v[4], v[5], v[6]);
      return n > 0 ? [v[3] / n, v[4] / n, v[5] / n, v[6] / n] : null;
    },
  };
  var turnOfSet = data.members.map(function (members) { return VENDOR_SETS[members] || null; });
  function finite(v) { return typeof v === 'number' && isFinite(v); }

  // Where each pose is drawn, in world coordinates where its group's frame is
  // known: 1 placed, 2 placed and turned.
  var P = new Float64Array(3 * count);
  var Q = new Float64Array(4 * count);
  var placedAt = new Uint8Array(count);
  var placed = 0;
  for (var i = 0; i < count; ++i) {
    var pose = poses[i];
    var set = turnOfSet[pose.m || 0];
    var own = pose.p || (set && pose.v.length >= 3 ? [pose.v[0], pose.v[1], pose.v[2]] : null);
    if (!own || !finite(own[0]) || !finite(own[1]) || !finite(own[2])) { continue; }
    var turn = pose.q || (set && statusOf(pose) === 'ok' && pose.v.every(finite) ? set(pose.v) : null);
    var group = groupOf[i] >= 0 ? groups[groupOf[i]] : null;
    if (group && group.at) {
      var moved = turned(group.turn, own);
      own = [group.at[0] + moved[0], group.at[1] + moved[1], group.at[2] + moved[2]];
      turn = turn && multiplyTurns(group.turn, turn);
    }
    P[3 * i] = own[0]; P[3 * i + 1] = own[1]; P[3 * i + 2] = own[2];
    if (turn) { Q[4 * i] = turn[0]; Q[4 * i + 1] = turn[1]; Q[4 * i + 2] = turn[2]; Q[4 * i + 3] = turn[3]; }
    placedAt[i] = turn ? 2 : 1;
    ++placed;
  }
  function positionOf(i) { return [P[3 * i], P[3 * i + 1], P[3 * i + 2]]; }
  function turnOf(i) { return [Q[4 * i], Q[4 * i + 1], Q[4 * i + 2], Q[4 * i + 3]]; }

  var fileShown = data.files.map(function () { return true; });
  var groupShown = groups.map(function () { return true; });
  function shown(i) {
    return fileShown[poses[i].f] && (groupOf[i] < 0 || groupShown[groupOf[i]]);
  }

  // --- the 3D view ---------------------------------------------------------
  var view = document.getElementById('view');
  var labelLayer = document.getElementById('labels');
  var renderer;
  try {
    // Smoothed lines cost a software renderer most of a large scene's
    // first frame; where a scene is that dense, jagged lines are no loss.
    renderer = new THREE.WebGLRenderer({ antialias: count <= SMOOTHED_POSES });
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

  // Geometry grows in typed arrays and becomes one object a kind, file and
  // group: 100,000 poses are a few draw calls, not 100,000 objects.
  function Batch() { this.p = new Float32Array(96); this.c = new Float32Array(96); this.n = 0; }
  Batch.prototype.vertex = function (x, y, z, color) {
    if (this.n + 3 > this.p.length) {
      var p = new Float32Array(this.p.length * 2), c = new Float32Array(this.p.length * 2);
      p.set(this.p);
      c.set(this.c);
      this.p = p;
      this.c = c;
    }
    var n = this.n;
    this.p[n] = x; this.p[n + 1] = y; this.p[n + 2] = z;
    this.c[n] = color.r; this.c[n + 1] = color.g; this.c[n + 2] = color.b;
    this.n = n + 3;
  };
  Batch.prototype.geometry = function () {
    var geometry = new THREE.BufferGeometry();
    geometry.setAttribute('position', new THREE.BufferAttribute(this.p.subarray(0, this.n), 3));
    geometry.setAttribute('color', new THREE.BufferAttribute(this.c.subarray(0, this.n), 3));
    return geometry;
  };
  Batch.prototype.empty = function () { return this.n === 0; };

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

  var labels = [];
  function addLabel(p, text, className, index) {
    var e = el('div', 'label' + (className ? ' ' + className : ''), text);
    labelLayer.appendChild(e);
    labels.push({ p: new THREE.Vector3(p[0], p[1], p[2]), e: e, pose: index });
    return e;
  }
  addLabel([0, 0, 0], 'world', 'world', -1);

  var fit = data.kind === 'fit';
  // One part a file and group, toggled with both.
  var parts = {};
  function partOf(pose, i) {
    var key = pose.f + ':' + groupOf[i];
    return parts[key] || (parts[key] = {
      f: pose.f, g: groupOf[i], object: new THREE.Group(),
      triads: new Batch(), frames: new Batch(), dots: new Batch(), marks: new Batch(), arrows: new Batch(),
    });
  }
  // A small scene names every pose; a large one only its frames.
  var namedPoses = count <= NAMED_POSES;
  function describe(pose) {
    var name = nameOf(pose) || data.types[pose.t];
    var role = roleOf(pose);
    if (role === 'moved') { return name + ' moved ' + number(pose.d, 2) + ' mm'; }
    if (role === 'measured' && pose.n === data.worst) { return 'worst: ' + name + ', ' + number(pose.d) + ' mm'; }
    if (role === 'unchanged' || role === 'pose' || role === 'measured') { return name; }
    return name + ' ' + role;
  }
  poses.forEach(function (pose, i) {
    if (!placedAt[i]) { return; }
    var b = partOf(pose, i);
    var role = roleOf(pose);
    var tint = role === 'unchanged' || role === 'removed' ? GREY : undefined;
    var at = positionOf(i);
    if (placedAt[i] === 2 && pose.fr) {
      addFrame(b.frames, at, turnOf(i), data.axisLength * 2);
      addLabel(at, nameOf(pose) || data.types[pose.t], '', i);
    } else if (placedAt[i] === 2) {
      addTriad(b.triads, at, turnOf(i), data.axisLength, tint);
    } else if (!fit) {
      b.dots.vertex(at[0], at[1], at[2], color(GREY));
    }
    if (!pose.fr && namedPoses && role !== 'nominal') {
      addLabel(at, describe(pose), fit && pose.n === data.worst ? 'worst' : 'pose', i);
    }
    if (role === 'moved') {
      var c = moveColor(pose.d);
      if (pose.o && pose.oq) { addTriad(b.triads, pose.o, pose.oq, data.axisLength, FAINT_GREY); }
      if (pose.o) { addArrow(b.arrows, pose.o, at, c); }
      b.marks.vertex(at[0], at[1], at[2], c);
    } else if (ROLE_COLORS[role] !== undefined) {
      b.marks.vertex(at[0], at[1], at[2], color(ROLE_COLORS[role]));
    }
    if (fit && role === 'measured' && pose.o) {
      var m = data.magnification;
      var end = [pose.o[0] + (at[0] - pose.o[0]) * m, pose.o[1] + (at[1] - pose.o[1]) * m,
                 pose.o[2] + (at[2] - pose.o[2]) * m];
      addArrow(b.arrows, pose.o, end, color(RESIDUAL));
    }
  });
  Object.keys(parts).forEach(function (key) {
    var b = parts[key], object = b.object;
    if (!b.triads.empty()) { object.add(new THREE.LineSegments(b.triads.geometry(), lineMaterial)); }
    if (!b.arrows.empty()) { object.add(new THREE.LineSegments(b.arrows.geometry(), lineMaterial)); }
    if (!b.frames.empty()) { object.add(new THREE.Mesh(b.frames.geometry(), meshMaterial)); }
    if (!b.dots.empty()) { object.add(new THREE.Points(b.dots.geometry(), dotMaterial)); }
    if (!b.marks.empty()) { object.add(new THREE.Points(b.marks.geometry(), markMaterial)); }
    scene.add(object);
    parts[key] = { f: b.f, g: b.g, object: object };
  });

  // Each program's path: its motions in the order they run, through the
  // shown poses they visit. A line between two frames whose values are not
  // both known would join numbers of two different spaces: it is left out.
  var paths = data.paths || [];
  var pathLines = new THREE.LineSegments(new THREE.BufferGeometry(), pathMaterial);
  scene.add(pathLines);
  var pathSegments = 0;
  function joined(a, b) {
    var x = groupOf[a], y = groupOf[b];
    return x === y || (x >= 0 && y >= 0 && groups[x].world && groups[y].world);
  }
  var pathLength = 0;
  paths.forEach(function (path) {
    for (var r = 1; r < path.runs.length; r += 2) { pathLength += path.runs[r]; }
  });
  function buildPaths() {
    var points = new Float32Array(6 * pathLength), n = 0;
    paths.forEach(function (path) {
      if (!fileShown[path.f]) { return; }
      var before = -1;
      for (var r = 0; r + 1 < path.runs.length; r += 2) {
        for (var k = 0; k < path.runs[r + 1]; ++k) {
          var i = path.runs[r] + k;
          if (i >= count || !placedAt[i] || !shown(i)) { before = -1; continue; }
          if (before >= 0 && joined(before, i)) {
            points[n++] = P[3 * before]; points[n++] = P[3 * before + 1]; points[n++] = P[3 * before + 2];
            points[n++] = P[3 * i]; points[n++] = P[3 * i + 1]; points[n++] = P[3 * i + 2];
          }
          before = i;
        }
      }
    });
    pathSegments = n / 6;
    pathLines.geometry.dispose();
    var geometry = new THREE.BufferGeometry();
    geometry.setAttribute('position', new THREE.BufferAttribute(points.subarray(0, n), 3));
    pathLines.geometry = geometry;
  }
  buildPaths();

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
      var visible = v.z < 1 && Math.abs(v.x) <= 1 && Math.abs(v.y) <= 1 &&
                    (label.pose < 0 || shown(label.pose));
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
  var matrix = new THREE.Matrix4();
  function screenOf(i, m, w, h) {
    var e = m.elements, x0 = P[3 * i], y0 = P[3 * i + 1], z0 = P[3 * i + 2];
    var cw = e[3] * x0 + e[7] * y0 + e[11] * z0 + e[15];
    if (cw <= 0) { return null; }
    var x = (e[0] * x0 + e[4] * y0 + e[8] * z0 + e[12]) / cw;
    var y = (e[1] * x0 + e[5] * y0 + e[9] * z0 + e[13]) / cw;
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
    for (var i = 0; i < count; ++i) {
      if (!placedAt[i] || !shown(i)) { continue; }
      var s = screenOf(i, m, w, h);
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
    var role = roleOf(pose);
    tip.appendChild(el('div', 'name', pose.n || '(inline value)'));
    if (pose.c) { tip.appendChild(el('div', '', '"' + pose.c + '"')); }
    tip.appendChild(el('div', '', file.path + ':' + pose.l));
    tip.appendChild(el('div', '', data.types[pose.t] + ', ' + statusOf(pose) + (role !== 'pose' ? ', ' + role : '')));
    var members = data.members[pose.m || 0].split(' ');
    var text = members.map(function (name, k) { return name + ' ' + number(pose.v[k], 4); }).join('  ');
    tip.appendChild(el('div', 'values', text));
    if (groupOf[index] >= 0) {
      var group = groups[groupOf[index]];
      tip.appendChild(el('div', '', group.label + ': ' + group.note));
    }
    if (role === 'moved') {
      tip.appendChild(el('div', '', 'moved ' + number(pose.d) + ' mm, turned ' + number(pose.a) +
                                    ' deg (was line ' + pose.ol + ')'));
    } else if (role === 'measured') {
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
    var found = 0;
    highlight.geometry.dispose();
    if (text !== '') {
      var pattern = patternOf(text);
      var hex = color(HIGHLIGHT);
      var batch = new Batch();
      for (var i = 0; i < count; ++i) {
        if (placedAt[i] && shown(i) && pattern.test(nameOf(poses[i]))) {
          batch.vertex(P[3 * i], P[3 * i + 1], P[3 * i + 2], hex);
          ++found;
        }
      }
      highlight.geometry = batch.geometry();
    } else {
      highlight.geometry = new THREE.BufferGeometry();
    }
    matches.textContent = text === '' ? '' : found + (found === 1 ? ' pose matches' : ' poses match');
    requestRender();
    return found;
  }
  search.addEventListener('input', findPoses);

  // --- the side list: legend, frames and files -----------------------------
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
    legendRow(bar(PATH_COLOR), 'path: each program\'s motions in the order they run');
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
  var leftOut = (data.leftOut || []).map(function (item) { return item[0] + ' ' + item[1]; });
  document.getElementById('left-out').textContent =
    (leftOut.length ? 'Not drawn: ' + leftOut.join(', ') + '.' : '') +
    (data.visitedTwice ? ' ' + data.visitedTwice + ' visited in more than one frame: drawn in the first.' : '');

  function refresh() {
    Object.keys(parts).forEach(function (key) {
      var part = parts[key];
      part.object.visible = fileShown[part.f] && (part.g < 0 || groupShown[part.g]);
    });
    buildPaths();
    findPoses();
  }
  function toggleRow(list, text, countText, checked, change) {
    var row = el('label');
    var box = el('input');
    box.type = 'checkbox';
    box.checked = checked;
    box.addEventListener('change', function () { change(box.checked); refresh(); });
    row.appendChild(box);
    row.appendChild(el('span', '', text));
    row.appendChild(el('span', 'count', countText));
    list.appendChild(row);
    return row;
  }

  // The frames the poses are taught in, each with how it is drawn.
  var groupList = document.getElementById('groups');
  if (groups.length === 0) {
    document.getElementById('groups-title').style.display = 'none';
  }
  groups.forEach(function (group, i) {
    var row = toggleRow(groupList, group.label, String(group.count), true,
                        function (on) { groupShown[i] = on; });
    row.className = 'group ' + group.kind;
    groupList.appendChild(el('div', 'note', group.note));
  });

  // Files with drawn poses first, each in the order it was read: the order
  // is the data's.
  var fileList = document.getElementById('files');
  var counts = data.files.map(function () { return 0; });
  poses.forEach(function (pose, i) { if (placedAt[i]) { ++counts[pose.f]; } });
  data.fileOrder.forEach(function (i) {
    var row = toggleRow(fileList, data.files[i].path, String(counts[i]), true,
                        function (on) { fileShown[i] = on; });
    if (counts[i] === 0) { row.className = 'empty'; }
  });

  look(views.reset);
  render();
  // The first frame is drawn when the GPU has finished it: reading one pixel
  // waits for that. The stamp counts from the start of navigation.
  var gl = renderer.getContext();
  gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, new Uint8Array(4));
  var firstFrame = performance.now();
  document.body.setAttribute('data-first-frame-ms', firstFrame.toFixed(0));
  document.body.setAttribute('data-build-ms', (firstFrame - started).toFixed(0));

  function indexOf(name) {
    for (var i = 0; i < count; ++i) {
      if (poses[i].n === name && placedAt[i]) { return i; }
    }
    return -1;
  }
  // Read-only, for tests and scripts that check what the page drew.
  window.posebridgePlot = Object.freeze({
    poseCount: count,
    placedCount: placed,
    // Where the named pose is drawn on the screen; null when it is hidden.
    screenPositionOf: function (name) {
      var i = indexOf(name);
      if (i < 0 || !shown(i)) { return null; }
      var box = view.getBoundingClientRect();
      var s = screenOf(i, currentMatrix(), view.clientWidth, view.clientHeight);
      return s && { x: box.left + s.x, y: box.top + s.y };
    },
    // Where it is drawn in the world, how it is turned, and its group's label.
    worldPositionOf: function (name) {
      var i = indexOf(name);
      return i < 0 ? null : { p: positionOf(i), q: placedAt[i] === 2 ? turnOf(i) : null,
                              group: groupOf[i] < 0 ? null : groups[groupOf[i]].label };
    },
    shownCount: function () {
      var n = 0;
      for (var i = 0; i < count; ++i) { n += placedAt[i] && shown(i) ? 1 : 0; }
      return n;
    },
    pathSegments: function () { return pathSegments; },
    shownLabels: function () {
      render();
      return labels.filter(function (label) { return label.e.style.display !== 'none'; })
                   .map(function (label) { return label.e.textContent; });
    },
    find: function (pattern) { search.value = pattern; return findPoses(); },
  });
})();
