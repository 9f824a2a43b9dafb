// A static server for the browser build's files, on 127.0.0.1 and a free port, for the
// browser tests and the page's measurements.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');

// Serves the build's files to this machine only.
function serve(dir) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                  '.data': 'application/octet-stream' };
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(req.url.split('?')[0]);
    const file = path.join(dir, name === '/' ? 'index.html' : name);
    if (!file.startsWith(path.resolve(dir)) || !fs.existsSync(file)) {
      res.writeHead(404);
      res.end();
      return;
    }
    res.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

module.exports = { serve };
