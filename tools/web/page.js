// The page of `velkano view`: the task files and flights written into it, shown once.
(function () {
  'use strict';

  const data = JSON.parse(document.getElementById('velkano-data').textContent);
  const view = VelkanoView.create({
    map: 'map',
    tasks: document.getElementById('tasks'),
    flights: document.getElementById('flights'),
    barogram: document.getElementById('barogram'),
  });
  view.addTaskFiles(data.tasks);
  view.addFlights(data.flights);

  const names = data.tasks.map((t) => t.file).concat(data.flights.map((f) => f.file));
  document.title = [...new Set(names)].join(', ') + ' - velkano view';
  view.fit();
  // For the tests and the timing script: the page has drawn everything, the map's canvas
  // included, once the frame after the first has begun.
  window.velkanoView = { map: view.map, barogram: view.barogram };
  requestAnimationFrame(() => requestAnimationFrame(() => {
    document.documentElement.dataset.ready = 'true';
  }));
}());
