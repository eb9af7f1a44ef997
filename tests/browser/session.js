// One vekhost --serve session per test: the box example, fresh settings, a
// free port; ended with Ctrl-C (SIGINT) afterwards.
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const vekhost = process.env.VEKHOST;
const examples = process.env.EXAMPLES || path.join(__dirname, '../../examples');
let nextPort = 18750 + (process.pid % 500) * 20;

// Every session's folder is removed when the test process ends.
const folders = [];
process.on('exit', () => {
  for (const folder of folders) fs.rmSync(folder, { recursive: true, force: true });
});

// drawing: an example's name, or a path. defaultPort: no --port, so that
// vekhost takes 8750 or the next free one.
async function startSession({ drawing = 'box.json', defaultPort = false } = {}) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vekhost-serve-'));
  folders.push(folder);
  let port = nextPort++;
  const portOption = defaultPort ? [] : ['--port', String(port)];
  const child = spawn(vekhost, ['--serve', ...portOption, '--registry', path.join(folder, 'settings.reg'),
                                '--json', path.join(folder, 'result.json'), '--svg', path.join(folder, 'result.svg'),
                                path.resolve(examples, drawing)],
                      { stdio: ['ignore', 'pipe', 'pipe'] });
  let output = '';
  child.stdout.on('data', (data) => { output += data; });
  child.stderr.on('data', (data) => { output += data; });
  const url = await new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error(`vekhost did not start:\n${output}`)), 10000);
    const look = () => {
      const match = output.match(/serving the session at (http:\S+)/);
      if (match) {
        clearTimeout(timer);
        resolve(match[1]);
      }
    };
    child.stdout.on('data', look);
    child.on('exit', (code) => reject(new Error(`vekhost ended (${code}):\n${output}`)));
  });
  const exited = new Promise((resolve) => child.on('exit', (code) => resolve(code)));
  port = Number(url.match(/:(\d+)\/$/)[1]);
  return {
    url, port, folder, output: () => output,
    async stop() {
      child.kill('SIGINT');
      return exited;
    },
  };
}

module.exports = { startSession };
