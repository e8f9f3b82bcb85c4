// What velkano's pages show of task files and flights: turnpoints and routes on a map, one
// flight at a time with its track coloured by altitude and a barogram. Both pages use it: the
// page of `velkano view` with the data written into it, the converter page with what its
// worker read. Every text from the files reaches the page through textContent, never as
// markup.
const VelkanoView = (function () {
  'use strict';

  const wgs84 = geodesic.Geodesic.WGS84;
  const DISTANCE = geodesic.Geodesic.DISTANCE;
  const Role = { turnpoint: 1, flagged: 3, start: 4, afterFinish: 5, beforeStart: 6, finish: 7 };
  const AIRFIELD_KINDS = 0xff00;
  const ROUTE_COLOURS = ['#c01c28', '#1a5fb4', '#26a269', '#a347ba', '#e66100', '#865e3c', '#00838f'];
  // Blue (low) to red (high); the track takes its colour from the band of its altitude.
  const ALTITUDE_COLOURS = ['#313695', '#4575b4', '#74add1', '#abd9e9', '#e0f3f8',
                            '#fee090', '#fdae61', '#f46d43', '#d73027', '#a50026'];
  // Moving faster than this over the window counts as flying.
  const FLYING_SPEED = 10;  // m/s
  const SPEED_WINDOW = 20;  // s
  const LEGEND_HEIGHT = 34;  // px under the barogram for uPlot's legend
  // Names stay on the map while they are few enough to read, and only from a zoom level
  // where they no longer cover each other.
  const LABELLED_TURNPOINTS = 60;
  const LABEL_ZOOM = 9;

  function element(tag, className, text) {
    const node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined) node.textContent = text;
    return node;
  }

  function facts(pairs) {
    const list = element('dl', 'vk-facts');
    for (const [label, value] of pairs) {
      if (value === undefined || value === null || value === '') continue;
      list.append(element('dt', '', label), element('dd', '', String(value)));
    }
    return list;
  }

  function distance(a, b) {
    return wgs84.Inverse(a[0], a[1], b[0], b[1], DISTANCE).s12;
  }

  function pathLength(points) {
    let total = 0;
    for (let i = 1; i < points.length; ++i) total += distance(points[i - 1], points[i]);
    return total;
  }

  const km = (metres) => (metres / 1000).toFixed(1) + ' km';
  const pad = (n) => String(n).padStart(2, '0');
  function clock(seconds) {
    const s = ((Math.round(seconds) % 86400) + 86400) % 86400;
    return pad(Math.floor(s / 3600)) + ':' + pad(Math.floor(s / 60) % 60) + ':' + pad(s % 60);
  }
  function duration(seconds) {
    const minutes = Math.round(seconds / 60);
    return Math.floor(minutes / 60) + ' h ' + pad(minutes % 60) + ' min';
  }

  function turnpointPopup(tp) {
    const node = element('div', 'vk-popup');
    node.append(element('h3', '', tp.name));
    const frequency = tp.frequency && Number(tp.frequency) !== 0 ? tp.frequency + ' MHz' : '';
    node.append(facts([
      ['short name', tp.shortName],
      ['ICAO', tp.icaoCode],
      ['elevation', tp.elevation + ' m'],
      ['frequency', frequency],
      ['runway', tp.runwayLength || tp.runwayDirection
        ? tp.runwayDirection + '°' + (tp.runwayLength ? ', ' + tp.runwayLength + ' m' : '') : ''],
    ]));
    if (tp.comment) node.append(element('p', '', tp.comment));
    return node;
  }

  function turnpointMarker(tp) {
    const at = [tp.latitude, tp.longitude];
    let marker;
    if (tp.kind & AIRFIELD_KINDS) {
      const symbol = element('div');
      const runway = element('div', 'vk-runway');
      runway.style.transform = 'rotate(' + Number(tp.runwayDirection || 0) + 'deg)';
      if (!tp.runwayDirection) runway.hidden = true;
      symbol.append(runway, element('div', 'vk-ring'));
      marker = L.marker(at, {
        icon: L.divIcon({ html: symbol, className: 'vk-tp vk-airfield', iconSize: [18, 18] }),
        pane: 'turnpoints',
      });
    } else {
      marker = L.circleMarker(at, {
        radius: 5, color: '#333', weight: 1.5, fillColor: tp.markFlag ? '#f6d32d' : '#fff',
        fillOpacity: 1, className: 'vk-tp vk-point', pane: 'turnpoints',
      });
    }
    marker.bindPopup(turnpointPopup(tp));
    return marker;
  }

  function label(marker, tp, permanent) {
    marker.unbindTooltip();
    marker.bindTooltip(tp.shortName || tp.name || String(tp.number), {
      direction: 'top', offset: [0, -6], permanent, className: 'vk-label',
    });
  }

  // A route's points split into the scored line (start to finish) and the dashed takeoff
  // and landing legs.
  function routeLines(route, byNumber) {
    const points = [];
    for (const p of route.points) {
      const tp = byNumber.get(p.number);
      if (tp) points.push({ at: [tp.latitude, tp.longitude], role: p.role });
    }
    let start = points.findIndex((p) => p.role === Role.start);
    let finish = points.findIndex((p) => p.role === Role.finish);
    if (start < 0) start = points.findIndex((p) => p.role !== Role.beforeStart);
    if (finish < 0) {
      finish = points.length - 1;
      while (finish > 0 && points[finish].role === Role.afterFinish) --finish;
    }
    const at = points.map((p) => p.at);
    if (start < 0 || finish < start) return { task: at, legs: [], distance: 0 };
    const task = at.slice(start, finish + 1);
    const legs = [];
    if (start > 0) legs.push(at.slice(0, start + 1));
    if (finish < at.length - 1) legs.push(at.slice(finish));
    return { task, legs, distance: pathLength(task) };
  }

  function analyseFlight(flight) {
    const f = flight.fixes;
    const n = f.time.length;
    const along = new Float64Array(n);
    for (let i = 1; i < n; ++i) {
      along[i] = along[i - 1] +
        distance([f.latitude[i - 1], f.longitude[i - 1]], [f.latitude[i], f.longitude[i]]);
    }
    // Flying: the distance covered over the next SPEED_WINDOW seconds says so.
    let takeoff = -1, landing = -1;
    for (let i = 0, j = 0; i < n; ++i) {
      if (j < i) j = i;
      while (j < n - 1 && f.time[j] - f.time[i] < SPEED_WINDOW) ++j;
      const dt = f.time[j] - f.time[i];
      if (dt > 0 && (along[j] - along[i]) / dt > FLYING_SPEED) {
        if (takeoff < 0) takeoff = i;
        landing = j;
      }
    }
    if (takeoff < 0) { takeoff = 0; landing = n - 1; }
    return { along: n ? along[n - 1] : 0, takeoff, landing };
  }

  function altitudes(flight) {
    const f = flight.fixes;
    return f.gnssAltitude.some((a) => a !== 0) ? f.gnssAltitude : f.pressureAltitude;
  }

  function buildTrack(flight, renderer) {
    const f = flight.fixes;
    const alt = altitudes(flight);
    let low = Infinity, high = -Infinity;
    for (const a of alt) { if (a < low) low = a; if (a > high) high = a; }
    const bands = ALTITUDE_COLOURS.map(() => []);
    const band = (a) => high > low
      ? Math.min(ALTITUDE_COLOURS.length - 1,
                 Math.floor((a - low) / (high - low) * ALTITUDE_COLOURS.length))
      : 0;
    let run = null, runBand = -1;
    for (let i = 1; i < f.time.length; ++i) {
      const b = band((alt[i - 1] + alt[i]) / 2);
      if (b !== runBand) {
        run = [[f.latitude[i - 1], f.longitude[i - 1]]];
        bands[b].push(run);
        runBand = b;
      }
      run.push([f.latitude[i], f.longitude[i]]);
    }
    const layer = L.layerGroup();
    bands.forEach((runs, b) => {
      if (runs.length) {
        L.polyline(runs, { color: ALTITUDE_COLOURS[b], weight: 3, renderer, interactive: false })
          .addTo(layer);
      }
    });
    const task = (flight.task || []).filter((p) => p.latitude !== 0 || p.longitude !== 0);
    if (task.length) {
      L.polyline(task.map((p) => [p.latitude, p.longitude]),
                 { color: '#000', weight: 2, dashArray: '8 5', className: 'vk-flight-task' })
        .addTo(layer);
      for (const p of task) {
        L.circleMarker([p.latitude, p.longitude], { radius: 4, color: '#000', weight: 1.5,
                                                    fillColor: '#fff', fillOpacity: 1 })
          .bindTooltip(p.name || '', { direction: 'top' }).addTo(layer);
      }
    }
    const cursor = L.circleMarker(f.time.length ? [f.latitude[0], f.longitude[0]] : [0, 0], {
      radius: 6, color: '#000', weight: 2, fillColor: '#ffec00', fillOpacity: 1,
      className: 'vk-cursor', interactive: false,
    });
    const bounds = L.latLngBounds(task.map((p) => [p.latitude, p.longitude]));
    for (let i = 0; i < f.time.length; ++i) bounds.extend([f.latitude[i], f.longitude[i]]);
    const legend = L.control({ position: 'bottomleft' });
    legend.onAdd = () => {
      const node = element('div', 'vk-legend');
      node.append(String(low === Infinity ? '' : low) + ' m ');
      for (const colour of ALTITUDE_COLOURS) {
        const swatch = element('span');
        swatch.style.background = colour;
        node.append(swatch);
      }
      node.append(' ' + String(high === -Infinity ? '' : high) + ' m');
      return node;
    };
    return { layer, cursor, bounds, legend };
  }

  function flightFacts(flight) {
    const f = flight.fixes;
    const found = analyseFlight(flight);
    return facts([
      ['file', flight.file + ' #' + flight.number],
      ['glider', [flight.gliderType, flight.gliderId].filter(Boolean).join(', ')],
      ['competition id', flight.competitionId],
      ['takeoff', f.time.length ? clock(f.time[found.takeoff]) + ' UTC' : ''],
      ['landing', f.time.length ? clock(f.time[found.landing]) + ' UTC' : ''],
      ['duration', f.time.length ? duration(f.time[found.landing] - f.time[found.takeoff]) : ''],
      ['distance', km(found.along) + ' along the track'],
      ['fixes', f.time.length],
    ]);
  }

  // The view in the page's elements: boxes.map (the map), boxes.tasks and boxes.flights (the
  // side lists) and boxes.barogram. Task files and flights are added as they come; clear()
  // takes everything away again.
  function create(boxes) {
    // The map, with tiles only where there is a network; without, a plain background.
    const map = L.map(boxes.map, { zoomSnap: 0.25 });
    // Turnpoints above the lines that join them.
    map.createPane('turnpoints').style.zIndex = 450;
    L.control.scale({ imperial: false }).addTo(map);
    const noTiles = L.control({ position: 'bottomright' });
    noTiles.onAdd = () => element('div', 'vk-legend', 'no map tiles (offline)');
    function goOffline() {
      document.body.classList.add('offline');
      noTiles.addTo(map);
    }
    if (navigator.onLine) {
      const tiles = L.tileLayer('https://tile.openstreetmap.org/{z}/{x}/{y}.png', {
        maxZoom: 19,
        attribution: '&copy; <a href="https://www.openstreetmap.org/copyright">OpenStreetMap</a> contributors',
      });
      tiles.once('tileerror', () => {
        map.removeLayer(tiles);
        goOffline();
      });
      tiles.addTo(map);
    } else {
      goOffline();
    }
    map.setView([0, 0], 2);
    map.on('zoomend', () => {
      map.getContainer().classList.toggle('vk-far', map.getZoom() < LABEL_ZOOM);
    });

    const trackRenderer = L.canvas({ padding: 0.2 });
    // What is on the map, so that clear() can take it away.
    let turnpoints = [];  // {marker, tp}
    let routeEntries = [];  // {layer, bounds}
    let flights = [];  // {flight, item}
    let flightList = null;
    let shownFlight = null;
    let barogram = null;
    let turnpointBounds = L.latLngBounds([]);

    function fit() {
      const bounds = L.latLngBounds([]);
      for (const entry of routeEntries) {
        if (map.hasLayer(entry.layer)) bounds.extend(entry.bounds);
      }
      if (shownFlight) bounds.extend(shownFlight.bounds);
      if (!bounds.isValid()) bounds.extend(turnpointBounds);
      if (bounds.isValid()) map.fitBounds(bounds, { padding: [20, 20], maxZoom: 14, animate: false });
    }

    // Task files: {file, turnpoints, routes} each.
    function addTaskFiles(files) {
      const wereLabelled = turnpoints.length <= LABELLED_TURNPOINTS;
      for (const file of files) {
        boxes.tasks.append(element('h2', '', file.file));
        const byNumber = new Map();
        for (const tp of file.turnpoints) {
          byNumber.set(tp.number, tp);
          const marker = turnpointMarker(tp).addTo(map);
          turnpoints.push({ marker, tp });
          turnpointBounds.extend([tp.latitude, tp.longitude]);
        }
        if (file.routes.length === 0) boxes.tasks.append(element('p', 'vk-note', 'no routes'));
        const list = element('ul', 'vk-list');
        for (const route of file.routes) list.append(routeItem(route, byNumber));
        boxes.tasks.append(list);
      }
      const labelled = turnpoints.length <= LABELLED_TURNPOINTS;
      for (const t of turnpoints) {
        if (labelled !== wereLabelled || !t.marker.getTooltip()) label(t.marker, t.tp, labelled);
      }
    }

    function routeItem(route, byNumber) {
      const colour = ROUTE_COLOURS[routeEntries.length % ROUTE_COLOURS.length];
      const lines = routeLines(route, byNumber);
      const layer = L.layerGroup();
      const style = { color: colour, weight: 3, opacity: 0.9 };
      L.polyline(lines.task, { ...style, className: 'vk-route' }).addTo(layer);
      for (const leg of lines.legs) {
        L.polyline(leg, { ...style, weight: 2, dashArray: '6 6', className: 'vk-route-leg' })
          .addTo(layer);
      }
      layer.addTo(map);
      const item = element('li');
      item.style.setProperty('--vk-colour', colour);
      item.append(element('span', 'vk-figure', km(lines.distance)),
                  element('span', '', route.name || 'route ' + route.id));
      item.title = 'click to show or hide';
      item.addEventListener('click', () => {
        const shown = map.hasLayer(layer);
        if (shown) map.removeLayer(layer); else layer.addTo(map);
        item.classList.toggle('vk-hidden', shown);
        fit();
      });
      routeEntries.push({ layer, bounds: L.latLngBounds(lines.task.concat(...lines.legs)) });
      return item;
    }

    function drawBarogram(flight, shown) {
      const f = flight.fixes;
      const day = Date.parse((flight.date || '1970-01-01') + 'T00:00:00Z') / 1000;
      const times = f.time.map((t) => day + t);
      if (barogram) barogram.destroy();
      boxes.barogram.hidden = false;
      barogram = new uPlot({
        width: boxes.barogram.clientWidth,
        height: boxes.barogram.clientHeight - LEGEND_HEIGHT,
        tzDate: (ts) => uPlot.tzDate(new Date(ts * 1000), 'Etc/UTC'),
        // 24-hour clock and ISO dates in place of uPlot's defaults.
        fmtDate: (template) => uPlot.fmtDate(template
          .replace('{M}/{D}/{YY}', '{YYYY}-{MM}-{DD}').replace('{M}/{D}', '{MM}-{DD}')
          .replace(/\{h\}\{aa\}/g, '{HH}:{mm}').replace(/\{h\}/g, '{HH}').replace(/\{aa\}/g, '')),
        scales: { x: { time: true } },
        series: [
          { label: 'UTC' },
          { label: 'GNSS altitude (m)', stroke: '#1a5fb4', width: 1.5 },
          { label: 'pressure altitude (m)', stroke: '#c01c28', width: 1 },
        ],
        hooks: {
          setCursor: [(u) => {
            const i = u.cursor.idx;
            if (i !== null && i !== undefined && i < f.time.length) {
              shown.cursor.setLatLng([f.latitude[i], f.longitude[i]]);
            }
          }],
        },
      }, [times, f.gnssAltitude, f.pressureAltitude], boxes.barogram);
    }

    function hideFlight() {
      if (!shownFlight) return;
      map.removeLayer(shownFlight.layer);
      map.removeLayer(shownFlight.cursor);
      shownFlight.legend.remove();
      shownFlight = null;
    }

    // One flight at a time: its track coloured by altitude, its declared task over it and a
    // barogram whose cursor moves a marker along the track.
    function showFlight(index) {
      hideFlight();
      flights.forEach((entry, i) => entry.item.classList.toggle('vk-selected', i === index));
      const flight = flights[index].flight;
      shownFlight = buildTrack(flight, trackRenderer);
      shownFlight.layer.addTo(map);
      shownFlight.cursor.addTo(map);
      shownFlight.legend.addTo(map);
      drawBarogram(flight, shownFlight);
      // The barogram took its room from the map.
      map.invalidateSize();
      fit();
    }

    // Flights as `velkano view` embeds them; the first one added is shown.
    function addFlights(list) {
      if (list.length === 0) return;
      if (!flightList) {
        boxes.flights.append(element('h2', '', 'Flights'));
        flightList = element('ul', 'vk-list');
        boxes.flights.append(flightList);
      }
      const first = flights.length;
      for (const flight of list) {
        const index = flights.length;
        const item = element('li', 'vk-flight');
        const title = (flight.date || 'no date') + '  ' + (flight.pilot || 'unknown pilot');
        item.append(element('strong', '', title), flightFacts(flight));
        item.addEventListener('click', () => showFlight(index));
        flightList.append(item);
        flights.push({ flight, item });
      }
      if (first === 0) showFlight(0);
    }

    function clear() {
      hideFlight();
      if (barogram) barogram.destroy();
      barogram = null;
      boxes.barogram.hidden = true;
      for (const t of turnpoints) map.removeLayer(t.marker);
      for (const entry of routeEntries) map.removeLayer(entry.layer);
      turnpoints = [];
      routeEntries = [];
      flights = [];
      flightList = null;
      turnpointBounds = L.latLngBounds([]);
      boxes.tasks.replaceChildren();
      boxes.flights.replaceChildren();
      map.invalidateSize();
    }

    window.addEventListener('resize', () => {
      if (barogram) barogram.setSize({ width: boxes.barogram.clientWidth,
                                       height: boxes.barogram.clientHeight - LEGEND_HEIGHT });
    });

    return { map, barogram: () => barogram, addTaskFiles, addFlights, fit, clear };
  }

  return { create };
}());
