// Drives Debian's Firefox ESR (firefox-esr) through Marionette, its own remote protocol: a TCP socket
// carrying "length:JSON" messages. Enough to open a page, run a script and click an element; playwright's
// Firefox would need a browser build of its own.
import { spawn } from "node:child_process";
import { mkdtemp, rm, writeFile } from "node:fs/promises";
import net from "node:net";
import os from "node:os";
import path from "node:path";

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const ELEMENT = "element-6066-11e4-a52e-4f735466cecf";

export class Firefox {
  static async launch({ executable = process.env.CW_FIREFOX ?? "/usr/bin/firefox-esr" } = {}) {
    const ff = new Firefox();
    ff.profile = await mkdtemp(path.join(os.tmpdir(), "cw-e2e-firefox-"));
    ff.port = 20000 + (process.pid % 20000);
    await writeFile(
      path.join(ff.profile, "user.js"),
      [
        `user_pref("marionette.port", ${ff.port});`,
        'user_pref("browser.shell.checkDefaultBrowser", false);',
        'user_pref("datareporting.policy.dataSubmissionEnabled", false);',
        'user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);',
        'user_pref("app.update.disabledForTesting", true);',
        'user_pref("network.captive-portal-service.enabled", false);',
        'user_pref("browser.startup.homepage_override.mstone", "ignore");',
      ].join("\n"),
    );
    ff.process = spawn(executable, ["--headless", "--marionette", "--no-remote", "--profile", ff.profile], {
      stdio: "ignore",
      env: { ...process.env, MOZ_HEADLESS: "1" },
    });
    for (let tries = 0; ; ++tries) {
      try {
        await ff.#connect();
        break;
      } catch (e) {
        if (tries > 150) throw new Error(`Firefox's Marionette did not answer: ${e.message}`);
        await sleep(200);
      }
    }
    await ff.command("WebDriver:NewSession", { capabilities: {} });
    return ff;
  }

  #connect() {
    return new Promise((resolve, reject) => {
      const socket = net.connect(this.port, "127.0.0.1");
      let buffer = Buffer.alloc(0);
      this.pending = new Map();
      this.nextId = 1;
      let greeted = false;
      socket.on("error", reject);
      socket.on("data", (chunk) => {
        buffer = Buffer.concat([buffer, chunk]);
        for (;;) {
          const colon = buffer.indexOf(":");
          if (colon < 0) return;
          const length = Number(buffer.subarray(0, colon).toString());
          if (buffer.length < colon + 1 + length) return;
          const message = JSON.parse(buffer.subarray(colon + 1, colon + 1 + length).toString());
          buffer = buffer.subarray(colon + 1 + length);
          if (!greeted) {
            greeted = true;
            this.socket = socket;
            resolve();
            continue;
          }
          const [, id, error, result] = message;
          const waiting = this.pending.get(id);
          this.pending.delete(id);
          if (error) waiting?.reject(new Error(`${error.error}: ${error.message}`));
          else waiting?.resolve(result);
        }
      });
    });
  }

  command(name, params = {}) {
    const id = this.nextId++;
    const body = JSON.stringify([0, id, name, params]);
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject });
      this.socket.write(`${Buffer.byteLength(body)}:${body}`);
    });
  }

  async navigate(url) {
    await this.command("WebDriver:Navigate", { url });
  }

  async evaluate(script, args = []) {
    return (await this.command("WebDriver:ExecuteScript", { script, args })).value;
  }

  async click(selector) {
    const found = await this.command("WebDriver:FindElement", { using: "css selector", value: selector });
    await this.command("WebDriver:ElementClick", { id: found.value[ELEMENT] });
  }

  async close() {
    await this.command("WebDriver:DeleteSession").catch(() => {});
    this.socket?.destroy();
    this.process.kill();
    await new Promise((resolve) => this.process.once("exit", resolve));
    await rm(this.profile, { recursive: true, force: true });
  }
}
